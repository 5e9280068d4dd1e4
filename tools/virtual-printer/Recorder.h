#pragma once

#include <QByteArrayView>
#include <QFile>
#include <QString>

// The output directory: stream.bin gets every byte received, log.txt one line per command.
// Both are flushed as they grow, so a test can read them while the printer runs.
class Recorder
{
public:
    // Creates the directory and starts both files afresh; returns an error text or "".
    QString open(const QString &dir);

    void appendStream(QByteArrayView bytes);
    void logLine(const QString &line);

private:
    void write(QFile &file, QByteArrayView bytes);

    QFile m_stream;
    QFile m_log;
    bool m_warned = false;
};
