#include "OutputFile.h"
#include "Terminal.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdio>

namespace {

// Unbuffered, so each short write is retried straight away: the attempt that then fails sets
// the reason (a full disk, a file grown too large), where a short write alone sets none.
constexpr QIODevice::OpenMode Mode = QIODevice::WriteOnly | QIODevice::Unbuffered;

bool writeAll(QFileDevice &file, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

} // namespace

QString writeOutputFile(const QString &path, const QByteArray &bytes)
{
    if (path == QLatin1String("-")) {
        std::fflush(stdout);
        makeBinary(stdout);
        QFile out;
        if (!out.open(fileno(stdout), Mode) || !writeAll(out, bytes))
            return out.errorString();
        return {};
    }
    const QFileInfo target(path);
    // Renaming over /dev/full would replace the device node itself.
    if (target.exists() && !target.isFile() && !target.isDir()) {
        QFile device(path);
        if (!device.open(Mode) || !writeAll(device, bytes))
            return device.errorString();
        return {};
    }
    QSaveFile file(path);
    if (!file.open(Mode))
        return file.errorString();
    if (!writeAll(file, bytes)) {
        const QString reason = file.errorString();
        file.cancelWriting();
        return reason;
    }
    if (!file.commit())
        return file.errorString();
    return {};
}
