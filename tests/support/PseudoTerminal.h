#pragma once

#include <QByteArray>
#include <QString>

#include <chrono>

// A pseudo-terminal whose slave side stands in for a serial device. The master side is raw,
// so every byte written to the slave arrives unchanged.
class PseudoTerminal
{
public:
    PseudoTerminal();
    ~PseudoTerminal();
    Q_DISABLE_COPY(PseudoTerminal)

    bool isOpen() const { return m_master >= 0; }
    // The device path to open as the serial port, e.g. /dev/pts/3.
    QString slavePath() const { return m_slavePath; }

    // Reads from the master until count bytes have come, the slave side is gone, or no byte
    // has come for stall.
    QByteArray read(qsizetype count, std::chrono::milliseconds stall) const;

    // Hangs up the slave side, as pulling a USB adapter does.
    void closeMaster();

private:
    int m_master = -1;
    QString m_slavePath;
};
