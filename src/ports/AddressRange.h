#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// IPv4 addresses to scan: a network in CIDR form or one address.
struct AddressRange
{
    static constexpr int ShortestPrefix = 20; // at most 4096 addresses

    quint32 first = 0; // host byte order
    quint32 count = 1;

    // The index-th address, dotted.
    QString address(quint32 index) const;
};

// "A.B.C.D/N" with N from ShortestPrefix to 32 (the address's host bits are ignored) or
// "A.B.C.D"; nothing for any other text.
std::optional<AddressRange> addressRangeOf(const QString &text);

// Why a text is no range: a network wider than ShortestPrefix allows, an IPv6 address, a host
// name (never looked up), or anything else.
enum class RangeFault { Malformed, TooWide, IPv6, HostName };
RangeFault rangeFaultOf(const QString &text);
