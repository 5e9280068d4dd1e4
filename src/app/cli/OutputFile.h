#pragma once

#include <QByteArray>
#include <QString>

// Writes bytes as the whole content of a file, or leaves none that looks complete: a file is
// written beside its place and renamed over it once every byte is out; a device or pipe
// (/dev/stdout) cannot be replaced and is written in place, and so is standard output, named
// "-". Gives the operating system's
// reason when it could not write, empty on success.
QString writeOutputFile(const QString &path, const QByteArray &bytes);
