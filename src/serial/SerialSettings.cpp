#include "SerialSettings.h"

#include <QList>

#include <algorithm>

namespace {

constexpr qint64 bitsPerByte = 10;
constexpr qint64 drainGraceMs = 2000;

std::optional<SerialSettings::Parity> parseParity(QStringView field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.front().toLower().unicode()) {
    case 'n':
        return SerialSettings::Parity::None;
    case 'e':
        return SerialSettings::Parity::Even;
    case 'o':
        return SerialSettings::Parity::Odd;
    case 'm':
        return SerialSettings::Parity::Mark;
    case 's':
        return SerialSettings::Parity::Space;
    }
    return std::nullopt;
}

std::optional<SerialSettings::StopBits> parseStopBits(QStringView field)
{
    if (field == u"1")
        return SerialSettings::StopBits::One;
    if (field == u"1.5")
        return SerialSettings::StopBits::OneAndHalf;
    if (field == u"2")
        return SerialSettings::StopBits::Two;
    return std::nullopt;
}

bool isDecimal(QStringView field)
{
    return !field.isEmpty() &&
           std::all_of(field.begin(), field.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

std::optional<SerialSettings> parseSerialSettings(QStringView text)
{
    const QList<QStringView> fields = text.split(u',');
    if (fields.size() != 4)
        return std::nullopt;
    const QStringView rateField = fields[0].trimmed();
    const QStringView dataField = fields[2].trimmed();
    if (!isDecimal(rateField) || !isDecimal(dataField))
        return std::nullopt;

    bool rateOk = false;
    const qint32 rate = rateField.toInt(&rateOk);
    const int dataBits = dataField.toInt();
    const auto parity = parseParity(fields[1].trimmed());
    const auto stopBits = parseStopBits(fields[3].trimmed());
    if (!rateOk || rate <= 0 || dataBits < 5 || dataBits > 8 || !parity || !stopBits)
        return std::nullopt;
    return SerialSettings{rate, *parity, dataBits, *stopBits};
}

qint64 drainLimitMs(qint64 queuedBytes, qint32 rate)
{
    return queuedBytes * bitsPerByte * 1000 / rate + drainGraceMs;
}
