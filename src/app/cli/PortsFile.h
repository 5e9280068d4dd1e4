#pragma once

#include <QString>
#include <QStringList>

struct PortsFile
{
    QStringList ports;
    QString error;       // the file's path, and the line that names no port, when it cannot be used
    QStringList skipped; // the lines left out, each with its reason
};

// One port per line, as --port takes it, or one JSON object per line as discover --json and
// the fleet's --json write them (its port); blank lines and lines starting with # are skipped,
// and so is an object whose address did not answer as a printer.
PortsFile readPortsFile(const QString &path);
