#include "Transmitter.h"

#include "PortLink.h"
#include "PrinterCommands.h"
#include "SerialControl.h"
#include "TransferHost.h"
#include "TransferTexts.h"

#include <QElapsedTimer>

#include <algorithm>

namespace {

StepResult failure(const QString &error)
{
    return {StepStatus::Failed, error};
}

bool expired(const QElapsedTimer &timer, std::chrono::milliseconds limit)
{
    return timer.hasExpired(limit.count());
}

} // namespace

Transmitter::Transmitter(PortLink &link, TransferHost &host, TransferLimits limits)
    : m_link(link)
    , m_serial(link.serial())
    , m_host(host)
    , m_limits(limits)
{}

StepResult Transmitter::SendBytes(const QByteArray &bytes)
{
    switch (m_link.openKind()) {
    case LinkKind::Serial:
        return sendSerial(bytes);
    case LinkKind::Parallel:
        if (!m_link.writeParallel(bytes))
            return failure(TransferTexts::writeFailed(m_link.errorText()));
        return {};
    case LinkKind::None:
        break;
    }
    return {StepStatus::NoLink, {}};
}

StepResult Transmitter::sendSerial(const QByteArray &bytes)
{
    // A transmit buffer below 4 bytes would give empty pieces that never finish the array.
    const int pieceSize = std::max(1, m_serial.OutBufferSize() / 4);
    const int backlogLimit = 2 * pieceSize;
    const int upper = int(bytes.size()) - 1;

    m_host.setProgressMin(0);
    m_host.setProgressMax(upper);
    for (int first = 0;; first += pieceSize) {
        const int last = std::min(first + pieceSize - 1, upper);
        for (int k = first; k <= last; ++k)
            m_host.setProgressValue(k);
        const QByteArray piece = bytes.mid(first, last - first + 1);

        if (StepResult ready = waitForCts(); !ready.ok())
            return ready;
        if (StepResult room = waitForRoom(backlogLimit); !room.ok())
            return room;
        m_serial.setOutput(piece);
        if (m_serial.writeFailed())
            return failure(TransferTexts::writeFailed(m_serial.errorText()));

        if (first + pieceSize > upper)
            return {};
    }
}

StepResult Transmitter::waitForCts()
{
    QElapsedTimer idle;
    idle.start();
    while (!m_serial.CTSHolding()) {
        if (expired(idle, m_limits.stall))
            return failure(TransferTexts::printerNotReady(m_limits.stall));
        m_host.yield();
        if (StepResult stop = interruption(); !stop.ok())
            return stop;
    }
    return {};
}

StepResult Transmitter::waitForRoom(int backlogLimit)
{
    QElapsedTimer idle;
    idle.start();
    int queued = m_serial.OutBufferCount();
    while (queued >= backlogLimit) {
        m_host.yield();
        if (StepResult stop = interruption(); !stop.ok())
            return stop;
        const int now = m_serial.OutBufferCount();
        if (now < queued)
            idle.restart();
        else if (expired(idle, m_limits.stall))
            return failure(TransferTexts::printerNotDraining(m_limits.stall));
        queued = now;
    }
    return {};
}

StepResult Transmitter::waitForCompletion()
{
    // The printer drops CTS while it stores; the yield comes first so the window always
    // gets its turn.
    QElapsedTimer elapsed;
    elapsed.start();
    bool ready = false;
    do {
        m_host.yield();
        if (StepResult stop = interruption(); !stop.ok())
            return stop;
        ready = m_serial.CTSHolding();
        if (!ready && expired(elapsed, m_limits.completion))
            return failure(TransferTexts::printerNotFinished(m_limits.completion));
    } while (!ready);
    return {};
}

StepResult Transmitter::interruption() const
{
    if (m_host.stopRequested())
        return {StepStatus::Stopped, TransferTexts::Stopped};
    if (m_serial.writeFailed())
        return failure(TransferTexts::writeFailed(m_serial.errorText()));
    return {};
}

StepResult Transmitter::FinishTransfer()
{
    const LinkKind kind = m_link.openKind();
    if (kind == LinkKind::None)
        return {StepStatus::NoLink, {}};
    if (kind == LinkKind::Serial) {
        if (StepResult ready = waitForCompletion(); !ready.ok())
            return ready;
    }
    if (StepResult sent = SendBytes(finishCommand()); !sent.ok())
        return sent;
    m_host.showMessage(TransferTexts::Done, TransferTexts::DoneTitle,
                       TransferHost::MessageKind::Notice);
    return {};
}
