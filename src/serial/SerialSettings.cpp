#include "SerialSettings.h"

#include <QList>

#include <algorithm>

namespace {

std::optional<QSerialPort::Parity> parseParity(QStringView field)
{
    if (field.size() != 1)
        return std::nullopt;
    switch (field.front().toLower().unicode()) {
    case 'n':
        return QSerialPort::NoParity;
    case 'e':
        return QSerialPort::EvenParity;
    case 'o':
        return QSerialPort::OddParity;
    case 'm':
        return QSerialPort::MarkParity;
    case 's':
        return QSerialPort::SpaceParity;
    }
    return std::nullopt;
}

std::optional<QSerialPort::StopBits> parseStopBits(QStringView field)
{
    if (field == u"1")
        return QSerialPort::OneStop;
    if (field == u"1.5")
        return QSerialPort::OneAndHalfStop;
    if (field == u"2")
        return QSerialPort::TwoStop;
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
    return SerialSettings{rate, *parity, static_cast<QSerialPort::DataBits>(dataBits), *stopBits};
}
