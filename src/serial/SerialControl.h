#pragma once

#include <QByteArray>
#include <QString>
#include <QtGlobal>

// The serial-port control as the rest of Orvane sees it: a property set, no signals.
// The real ones wrap QSerialPort (Linux) and Orvane's own Win32 calls (Windows); tests
// script one.
class SerialControl
{
public:
    virtual ~SerialControl() = default;

    // COM port number; setting it clears a device path set before.
    virtual qint16 CommPort() const = 0;
    virtual void setCommPort(qint16 port) = 0;
    // A device path (/dev/ttyUSB0, /dev/pts/3) names the port instead of a number on Linux.
    virtual QString devicePath() const = 0;
    virtual void setDevicePath(const QString &path) = 0;

    // "rate,n,8,1"
    virtual QString Settings() const = 0;
    virtual void setSettings(const QString &settings) = 0;

    // Setting true opens the port named by CommPort or devicePath with Settings; reads true
    // exactly while the port is open. Closing sends what is still queued first.
    virtual bool PortOpen() const = 0;
    virtual void setPortOpen(bool open) = 0;

    // 2 = RTS/CTS flow control.
    virtual qint32 Handshaking() const = 0;
    virtual void setHandshaking(qint32 mode) = 0;

    // Size of the transmit buffer; 1024, never set.
    virtual qint16 OutBufferSize() const = 0;
    // Bytes queued and not yet on the wire.
    virtual int OutBufferCount() const = 0;
    virtual bool CTSHolding() const = 0;
    // Queues exactly these bytes behind those already queued and returns at once.
    virtual void setOutput(const QByteArray &bytes) = 0;
    // The bytes received since the last read, oldest first. The receive buffer holds the
    // newest 1024; the rest is lost, as on an overrun.
    virtual QByteArray Input() = 0;

    // Why the last open or write failed, in words for the operator; empty when nothing failed.
    virtual QString errorText() const = 0;
    // True once a write has failed since the port was opened (device gone, cable pulled), also
    // when closing had to leave queued bytes unsent; cleared by the next open.
    virtual bool writeFailed() const = 0;
};
