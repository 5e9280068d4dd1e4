#pragma once

#include <QSerialPort>
#include <QStringView>

#include <optional>

// The line settings of a "rate,parity,data bits,stop bits" text such as "9600,n,8,1".
struct SerialSettings
{
    qint32 rate = 9600;
    QSerialPort::Parity parity = QSerialPort::NoParity;
    QSerialPort::DataBits dataBits = QSerialPort::Data8;
    QSerialPort::StopBits stopBits = QSerialPort::OneStop;

    friend bool operator==(const SerialSettings &, const SerialSettings &) = default;
};

// Empty when the text is not four fields of a positive decimal rate, a parity letter
// (n, e, o, m, s), 5 to 8 data bits and 1, 1.5 or 2 stop bits.
std::optional<SerialSettings> parseSerialSettings(QStringView text);
