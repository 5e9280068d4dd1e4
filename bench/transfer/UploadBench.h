#pragma once

// What the upload benchmarks share: 2 MB of records, a host that shows nothing, and an upload
// timed from opening the link to its close.

#include "EventLoopYield.h"
#include "PortLink.h"
#include "PrinterCommands.h"
#include "SerialControlFactory.h"
#include "TransferHost.h"
#include "Transmitter.h"

#include <QElapsedTimer>

#include <algorithm>
#include <vector>

constexpr int Records = 127;
constexpr int RecordBytes = 4 + 64 * 32 * 8; // a 512 x 256 picture

class QuietHost : public TransferHost
{
public:
    void setProgressMin(int) override {}
    void setProgressMax(int) override {}
    void setProgressValue(int) override {}
    void showMessage(const QString &, const QString &, MessageKind) override {}
    void setStatus(const QString &) override {}
    void selectImageRow(int) override {}
    void yield() override { yieldToEventLoop(); }
    bool stopRequested() const override { return false; }
};

inline QList<QByteArray> records()
{
    QList<QByteArray> all;
    for (int r = 0; r < Records; ++r) {
        QByteArray record(RecordBytes, '\0');
        record[0] = 64;
        record[2] = 32;
        for (int i = 4; i < RecordBytes; ++i)
            record[i] = char((i * 31 + r) % 251);
        all << record;
    }
    return all;
}

// From opening the link to its close after the last byte (and, on a queue, after the scheduler
// has completed the job); the header counts the records given.
inline double orvaneUpload(const QString &port, const QList<QByteArray> &all)
{
    const std::unique_ptr<SerialControl> serial = makeSerialControl();
    PortLink link(*serial, [](const QString &) {});
    QuietHost host;
    Transmitter transmitter(link, host);
    QElapsedTimer clock;
    clock.start();
    if (!link.OpenPort(port, {}))
        return -1;
    bool ok = transmitter.SendBytes(*uploadHeader(int(all.size()))).ok();
    for (const QByteArray &record : all)
        ok = ok && transmitter.SendBytes(record).ok();
    ok = ok && transmitter.FinishTransfer().ok() && transmitter.drain().ok();
    link.ClosePort(port);
    return ok && !link.closedLinkFailed() ? clock.nsecsElapsed() / 1e6 : -1;
}

inline double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}
