#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// A printer on the network that takes raw ESC/POS on a TCP port.
struct NetworkAddress
{
    static constexpr quint16 RawPrintingPort = 9100;

    QString host;
    quint16 port = RawPrintingPort;

    // HOST:PORT, an IPv6 host in brackets.
    QString text() const;
    // tcp://HOST:PORT, as the port box lists it.
    QString portText() const;
};

// tcp://HOST[:PORT] (port 9100 when absent) or HOST:PORT; nothing for any other text.
std::optional<NetworkAddress> networkAddressOf(const QString &portText);
