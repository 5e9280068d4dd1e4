#pragma once

#include <QByteArrayView>
#include <QString>

#include <chrono>
#include <memory>

// Where the printer's bytes come from: a pseudo-terminal or a TCP port on a loopback address.
class Transport
{
public:
    virtual ~Transport() = default;

    // The slave path ("/dev/pts/5") or "127.0.0.N:PORT".
    virtual QString address() const = 0;
    // True when bytes (or the end of a client's stream) can be read; false on time-out or
    // a stop signal. The timeout may be StopSignal::Forever.
    virtual bool waitForData(std::chrono::nanoseconds timeout) = 0;
    // Bytes read (> 0), 0 when the client closed its connection, -1 when nothing was there.
    virtual qint64 read(char *buffer, qint64 max) = 0;
    // Sends the printer's answer to the client; dropped when none is there to take it.
    virtual void write(QByteArrayView bytes) = 0;
    // Reads nothing for the time (or until a stop signal), still turning away a second client.
    virtual void pause(std::chrono::nanoseconds time) = 0;
};

struct OpenedTransport
{
    std::unique_ptr<Transport> transport;
    QString error;
};

// An IPv4 address in host byte order as text: 127.0.0.1.
inline QString dottedAddress(quint32 address)
{
    return QStringLiteral("%1.%2.%3.%4")
        .arg(address >> 24)
        .arg((address >> 16) & 0xFF)
        .arg((address >> 8) & 0xFF)
        .arg(address & 0xFF);
}

OpenedTransport openPty();
// Listens on PORT of a loopback address (127.x.y.z, in host byte order). A receive buffer of
// receiveBuffer bytes (the system's own when 0) is what the connection takes ahead of reading.
OpenedTransport openTcp(quint16 port, quint32 loopbackAddress = 0x7F000001, int receiveBuffer = 0);
