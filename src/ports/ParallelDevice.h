#pragma once

#include "PrinterStallLimit.h"

#include <QByteArray>
#include <QString>
#include <QtGlobal>

#include <chrono>

// A printer device file opened for raw byte output (/dev/usb/lp0 on Linux, LPT1: on Windows).
class ParallelDevice
{
public:
    // A write fails once the device has taken no byte for stallLimit.
    explicit ParallelDevice(std::chrono::milliseconds stallLimit = PrinterStallLimit)
        : m_stallLimit(stallLimit)
    {}
    ~ParallelDevice() { close(); }
    ParallelDevice(const ParallelDevice &) = delete;
    ParallelDevice &operator=(const ParallelDevice &) = delete;

    // False when the device cannot be opened; errorText() then says why.
    bool open(const QString &device);
    bool isOpen() const { return m_handle != InvalidHandle; }
    // The open device, for reading what a printer that answers sends back.
    qintptr handle() const { return m_handle; }
    // Writes every byte, in order; false when the device refused them or stopped taking them.
    bool write(const QByteArray &bytes);
    void close();
    // The operating system's reason for the last failure; empty when nothing failed.
    QString errorText() const { return m_errorText; }

private:
    static constexpr qintptr InvalidHandle = -1;
    // A file descriptor on POSIX, a HANDLE on Windows.
    qintptr m_handle = InvalidHandle;
    QString m_errorText;
    std::chrono::milliseconds m_stallLimit;
};
