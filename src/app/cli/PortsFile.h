#pragma once

#include <QString>
#include <QStringList>

struct PortsFile
{
    QStringList ports;
    QString error; // the file's path, and the line that names no port, when it cannot be used
};

// One port per line, as --port takes it; blank lines and lines starting with # are skipped.
PortsFile readPortsFile(const QString &path);
