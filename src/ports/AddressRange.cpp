#include "AddressRange.h"

#include <QStringList>

#include <algorithm>

namespace {

std::optional<quint32> dottedAddress(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4)
        return std::nullopt;
    quint32 address = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok);
        // Digits only: no signs, spaces or octal surprises.
        if (!ok || value > 255 || part.isEmpty() || part.size() > 3 ||
            !std::all_of(part.begin(), part.end(), [](QChar c) { return c.isDigit(); }))
            return std::nullopt;
        address = address << 8 | value;
    }
    return address;
}

} // namespace

QString AddressRange::address(quint32 index) const
{
    const quint32 value = first + index;
    return QStringLiteral("%1.%2.%3.%4")
        .arg(value >> 24)
        .arg((value >> 16) & 0xFF)
        .arg((value >> 8) & 0xFF)
        .arg(value & 0xFF);
}

std::optional<AddressRange> addressRangeOf(const QString &text)
{
    const QStringList parts = text.trimmed().split(QLatin1Char('/'));
    if (parts.size() > 2)
        return std::nullopt;
    const std::optional<quint32> address = dottedAddress(parts.front());
    if (!address)
        return std::nullopt;
    if (parts.size() == 1)
        return AddressRange{*address, 1};
    bool ok = false;
    const int prefix = parts.back().toInt(&ok);
    if (!ok || prefix < AddressRange::ShortestPrefix || prefix > 32)
        return std::nullopt;
    const quint32 count = quint32(1) << (32 - prefix);
    return AddressRange{*address & ~(count - 1), count};
}

RangeFault rangeFaultOf(const QString &text)
{
    const QString address = text.trimmed().section(QLatin1Char('/'), 0, 0);
    if (address.contains(QLatin1Char(':')))
        return RangeFault::IPv6;
    const auto nameCharacter = [](QChar c) {
        return c.isLetterOrNumber() || c == QLatin1Char('-') || c == QLatin1Char('.');
    };
    if (std::any_of(address.begin(), address.end(), [](QChar c) { return c.isLetter(); }) &&
        std::all_of(address.begin(), address.end(), nameCharacter))
        return RangeFault::HostName;
    bool ok = false;
    const int prefix = text.trimmed().section(QLatin1Char('/'), 1).toInt(&ok);
    if (dottedAddress(address) && ok && prefix >= 0 && prefix < AddressRange::ShortestPrefix)
        return RangeFault::TooWide;
    return RangeFault::Malformed;
}
