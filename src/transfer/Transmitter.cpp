#include "Transmitter.h"

#include "AnswerScanner.h"
#include "PortLink.h"
#include "PrinterCommands.h"
#include "PrinterLink.h"
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

StepResult writeFailure(const PrinterLink &link)
{
    return failure(TransferTexts::writeFailed(link.errorText()));
}

} // namespace

Transmitter::Transmitter(PortLink &link, TransferHost &host, TransferLimits limits)
    : m_link(link)
    , m_host(host)
    , m_limits(limits)
    , m_progress(host)
{}

StepResult Transmitter::SendBytes(const QByteArray &bytes)
{
    PrinterLink *link = m_link.link();
    if (!link)
        return {StepStatus::NoLink, {}};
    if (link->outBufferSize() > 0)
        return sendPaced(*link, bytes);
    link->takeAnswers();
    link->write(bytes);
    return link->failed() ? writeFailure(*link) : StepResult{};
}

StepResult Transmitter::sendPaced(PrinterLink &link, const QByteArray &bytes)
{
    // A transmit buffer below 4 bytes would give empty pieces that never finish the array.
    const int pieceSize = std::max(1, link.outBufferSize() / 4);
    const int backlogLimit = 2 * pieceSize;
    const int upper = int(bytes.size()) - 1;

    // Without a count that means anything, a range of nothing shows a wait (a busy bar).
    if (link.countsForPrinter()) {
        m_progress.startArray(bytes.size());
    } else {
        m_host.setProgressMin(0);
        m_host.setProgressMax(0);
    }
    for (int first = 0;; first += pieceSize) {
        const int last = std::min(first + pieceSize - 1, upper);
        const QByteArray piece = bytes.mid(first, last - first + 1);

        if (StepResult ready = waitUntilMaySend(link); !ready.ok())
            return ready;
        if (StepResult room = waitForRoom(link, backlogLimit); !room.ok())
            return room;
        link.takeAnswers();
        link.write(piece);
        m_progress.written(piece.size());
        if (link.failed())
            return writeFailure(link);

        if (first + pieceSize > upper)
            return {};
    }
}

StepResult Transmitter::waitUntilMaySend(PrinterLink &link)
{
    QElapsedTimer idle;
    idle.start();
    while (!link.maySendNow()) {
        if (expired(idle, m_limits.stall))
            return failure(TransferTexts::printerNotReady(m_limits.stall));
        if (StepResult stop = pause(link); !stop.ok())
            return stop;
    }
    return {};
}

StepResult Transmitter::waitForRoom(PrinterLink &link, int backlogLimit)
{
    QElapsedTimer idle;
    idle.start();
    int queued = link.backlog();
    m_progress.update(queued);
    while (queued >= backlogLimit) {
        if (StepResult stop = pause(link); !stop.ok())
            return stop;
        const int now = link.backlog();
        m_progress.update(now);
        if (now < queued)
            idle.restart();
        else if (expired(idle, m_limits.stall))
            return failure(TransferTexts::printerNotDraining(m_limits.stall));
        queued = now;
    }
    return {};
}

StepResult Transmitter::waitForCompletion(PrinterLink &link)
{
    // The printer holds the sender back while it stores; the yield comes first so the window
    // always gets its turn.
    QElapsedTimer elapsed;
    elapsed.start();
    bool ready = false;
    do {
        if (StepResult stop = pause(link); !stop.ok())
            return stop;
        ready = link.maySendNow();
        if (!ready && expired(elapsed, m_limits.completion))
            return failure(TransferTexts::printerNotFinished(m_limits.completion));
    } while (!ready);
    return {};
}

StepResult Transmitter::pause(PrinterLink &link)
{
    m_host.yield();
    link.takeAnswers();
    return interruption(link);
}

StepResult Transmitter::interruption(const PrinterLink &link) const
{
    if (m_host.stopRequested())
        return {StepStatus::Stopped, TransferTexts::Stopped};
    if (link.failed())
        return writeFailure(link);
    return {};
}

StepResult Transmitter::FinishTransfer()
{
    PrinterLink *link = m_link.link();
    if (!link)
        return {StepStatus::NoLink, {}};
    if (link->outBufferSize() > 0) {
        if (StepResult ready = waitForCompletion(*link); !ready.ok())
            return ready;
    }
    return SendBytes(finishCommand());
}

StepResult Transmitter::drain()
{
    PrinterLink *link = m_link.link();
    if (!link)
        return {StepStatus::NoLink, {}};
    if (StepResult drained = waitForRoom(*link, 1); !drained.ok())
        return drained;
    return waitForJob(*link);
}

StepResult Transmitter::waitForJob(PrinterLink &link)
{
    if (link.jobCompleted())
        return {};
    m_host.setStatus(TransferTexts::waitingForPrinter({}));
    link.endJob();
    // No limit of its own: the job may wait long while the printer works, and the scheduler's
    // word ends the wait (the link gives up on a scheduler that stops answering).
    QString shown;
    while (!link.jobCompleted()) {
        m_host.yield();
        if (StepResult stop = interruption(link); !stop.ok()) {
            if (stop.status == StepStatus::Stopped)
                stop.error = TransferTexts::stoppedWaiting(link.leaveJob());
            return stop;
        }
        if (const QString said = link.errorText(); said != shown)
            m_host.setStatus(TransferTexts::waitingForPrinter(shown = said));
    }
    return {};
}

StepResult Transmitter::awaitReadToEnd()
{
    PrinterLink *link = m_link.link();
    if (!link)
        return {StepStatus::NoLink, {}};
    if (!link->endStream())
        return {};
    return awaitPrinter(
        *link, [link] { return link->printerReadToEnd(); },
        [this, link] {
            // The printer's side acknowledged every byte: what it never did is close.
            const int unacknowledged = link->backlog();
            return unacknowledged > 0
                       ? TransferTexts::jobNotReadToEnd(m_limits.completion, unacknowledged)
                       : TransferTexts::jobNotClosed(m_limits.completion);
        });
}

StepResult Transmitter::awaitPrinter(const PrinterLink &link, const std::function<bool()> &done,
                                     const std::function<QString()> &late)
{
    QElapsedTimer elapsed;
    elapsed.start();
    while (!done()) {
        m_host.yield();
        if (StepResult stop = interruption(link); !stop.ok())
            return stop;
        if (expired(elapsed, m_limits.completion))
            return failure(late());
    }
    return {};
}

bool Transmitter::hearsAnswers() const
{
    const PrinterLink *link = m_link.link();
    return link && link->canAnswer();
}

StepResult Transmitter::ask(const QByteArray &question)
{
    PrinterLink *link = m_link.link();
    if (!link)
        return {StepStatus::NoLink, {}};
    m_dropped = link->takeAnswers();
    link->write(question);
    m_progress.written(question.size());
    return link->failed() ? writeFailure(*link) : StepResult{};
}

Answer Transmitter::readAnswer(AnswerScanner &scanner, QDeadlineTimer deadline)
{
    PrinterLink *link = m_link.link();
    if (!link)
        return {{StepStatus::NoLink, {}}, false};
    for (;;) {
        scanner.feed(link->takeAnswers());
        if (scanner.done())
            return {{}, true};
        if (deadline.hasExpired())
            return {{}, false};
        m_host.yield();
        if (StepResult stop = interruption(*link); !stop.ok())
            return {stop, false};
    }
}
