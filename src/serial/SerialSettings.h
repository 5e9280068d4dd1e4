#pragma once

#include <QStringView>
#include <QtGlobal>

#include <optional>

// The line settings of a "rate,parity,data bits,stop bits" text such as "9600,n,8,1", in
// terms of no serial library: each platform's control maps them onto its own.
struct SerialSettings
{
    enum class Parity { None, Even, Odd, Mark, Space };
    enum class StopBits { One, OneAndHalf, Two };

    qint32 rate = 9600;
    Parity parity = Parity::None;
    int dataBits = 8;
    StopBits stopBits = StopBits::One;

    friend bool operator==(const SerialSettings &, const SerialSettings &) = default;
};

// Empty when the text is not four fields of a positive decimal rate, a parity letter
// (n, e, o, m, s), 5 to 8 data bits and 1, 1.5 or 2 stop bits.
std::optional<SerialSettings> parseSerialSettings(QStringView text);

// How long closing waits for queued bytes to leave at the line rate, with a grace for the
// driver and the peer.
qint64 drainLimitMs(qint64 queuedBytes, qint32 rate);
