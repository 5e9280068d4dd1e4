#pragma once

#include <QStringList>

enum class LinkCommand { Upload, Erase, Print, Status };

// Runs one transfer, or asks the printer how it is, from the command line; gives the exit
// code.
int runLinkCommand(LinkCommand command, const QStringList &arguments);
