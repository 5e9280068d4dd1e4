#pragma once

#include "TiedProcess.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>
#include <QStringList>

// orvane-virtual-printer run by a test, writing its log, the bytes it received and its
// prints into a folder of the test.
class VirtualPrinterProcess : public TiedProcess
{
public:
    explicit VirtualPrinterProcess(const QString &program);

    // Starts the printer on outDir with further options and reads the first line it writes:
    // the address it serves. False when none comes in time.
    bool start(const QString &outDir, const QStringList &options = {},
               QDeadlineTimer deadline = QDeadlineTimer(10000));
    // A pseudo-terminal, or host:port when it serves TCP.
    QString address() const { return m_address; }

    QString outPath(const QString &name) const;
    // Every process ID masked: they are fresh for each job.
    QByteArray stream() const;
    QString log() const;
    // Waits until the printer has received at least size bytes, then gives them all.
    QByteArray streamOfSize(qsizetype size, int timeoutMs = 10000) const;
    // Waits until the log holds text.
    bool waitForLog(const QString &text, int timeoutMs = 10000) const;

private:
    QString m_program;
    QString m_outDir;
    QString m_address;
};
