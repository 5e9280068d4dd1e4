#pragma once

#include <QStringList>

class PortLink;

enum class LinkCommand { Upload, Erase, Print, Status };

// Runs one transfer, or asks the printer how it is, from the command line; gives the exit
// code.
int runLinkCommand(LinkCommand command, const QStringList &arguments);

// Why the link to port did not open, as the command line tells it.
QString portNotOpenedText(const QString &port, const PortLink &link);
