#include "Recorder.h"

#include <QDir>

#include <cstdio>

QString Recorder::open(const QString &dir)
{
    if (!QDir().mkpath(dir))
        return QStringLiteral("cannot create %1").arg(dir);
    m_stream.setFileName(QDir(dir).filePath(QStringLiteral("stream.bin")));
    m_log.setFileName(QDir(dir).filePath(QStringLiteral("log.txt")));
    for (QFile *file : {&m_stream, &m_log}) {
        if (!file->open(QIODevice::WriteOnly | QIODevice::Truncate))
            return QStringLiteral("%1: %2").arg(file->fileName(), file->errorString());
    }
    return {};
}

void Recorder::appendStream(QByteArrayView bytes)
{
    write(m_stream, bytes);
}

void Recorder::logLine(const QString &line)
{
    write(m_log, (line + QLatin1Char('\n')).toUtf8());
}

void Recorder::write(QFile &file, QByteArrayView bytes)
{
    const bool written = file.write(bytes.data(), bytes.size()) == bytes.size() && file.flush();
    // Once is enough: a full disk would otherwise repeat the warning for every chunk.
    if (!written && !m_warned) {
        m_warned = true;
        std::fprintf(stderr, "orvane-virtual-printer: cannot write %s: %s\n",
                     qPrintable(file.fileName()), qPrintable(file.errorString()));
    }
}
