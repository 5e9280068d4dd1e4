#pragma once

#include <QStringList>

enum class LinkCommand { Upload, Erase, Print };

// Runs one transfer from the command line; gives the exit code.
int runLinkCommand(LinkCommand command, const QStringList &arguments);
