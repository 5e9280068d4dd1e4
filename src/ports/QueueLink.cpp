#include "QueueLink.h"

#include "LinkTexts.h"

#include <QEventLoop>
#include <QTimer>

#include <algorithm>
#include <chrono>

namespace {

// How often the scheduler is asked about the job while the printer works on it: soon at first,
// since a short job completes in a few milliseconds, then less and less often.
constexpr std::chrono::milliseconds FirstPoll(5);
constexpr std::chrono::milliseconds LastPoll(250);
// A scheduler that gives no answer about the job this long is given up on; each question has
// a limit of its own, and a busy scheduler may miss a few.
constexpr std::chrono::minutes SilenceLimit(3);

QString verdictText(PrintQueueJob::Verdict verdict)
{
    switch (verdict) {
    case PrintQueueJob::Verdict::Unknown:
        return LinkTexts::QueueUnknown;
    case PrintQueueJob::Verdict::Paused:
        return LinkTexts::QueuePaused;
    case PrintQueueJob::Verdict::Rejecting:
        return LinkTexts::QueueRejecting;
    case PrintQueueJob::Verdict::Unreachable:
    case PrintQueueJob::Verdict::Takes:
        break;
    }
    return LinkTexts::QueueUnreachable;
}

QString phaseText(PrintQueueJob::Phase phase)
{
    switch (phase) {
    case PrintQueueJob::Phase::Cancelled:
        return LinkTexts::JobCancelled;
    case PrintQueueJob::Phase::Stopped:
        return LinkTexts::JobStopped;
    case PrintQueueJob::Phase::Gone:
        return LinkTexts::JobVanished;
    default:
        break;
    }
    return LinkTexts::JobAborted;
}

} // namespace

QueueLink::QueueLink(QString queueName)
    : m_name(std::move(queueName))
    , m_job(createPrintQueueJob(m_name.toStdString()))
{}

QueueLink::~QueueLink()
{
    if (!m_worker.joinable())
        return;
    askWorkerToQuit();
    m_worker.join();
}

void QueueLink::askWorkerToQuit()
{
    {
        const std::lock_guard lock(m_mutex);
        m_quit = true;
    }
    m_wake.notify_all();
}

bool QueueLink::open()
{
    m_worker = std::thread([this] { run(); });
    waitForWorker([this] { return m_stage != Stage::Checking; });
    const std::lock_guard lock(m_mutex);
    return m_stage != Stage::Refused;
}

bool QueueLink::close()
{
    askWorkerToQuit();
    // Each call to the scheduler has a limit of its own, so the worker ends soon.
    waitForWorker([this] { return m_workerDone; });
    m_worker.join();
    return true;
}

int QueueLink::backlog() const
{
    const std::lock_guard lock(m_mutex);
    return m_pendingBytes;
}

void QueueLink::write(const QByteArray &bytes)
{
    {
        const std::lock_guard lock(m_mutex);
        if (m_stage != Stage::Open || bytes.isEmpty())
            return;
        m_pending.append(bytes);
        m_pendingBytes += int(bytes.size());
    }
    m_wake.notify_all();
}

void QueueLink::endJob()
{
    {
        const std::lock_guard lock(m_mutex);
        m_endRequested = true;
    }
    m_wake.notify_all();
}

bool QueueLink::jobCompleted() const
{
    const std::lock_guard lock(m_mutex);
    return m_stage == Stage::Completed;
}

QString QueueLink::leaveJob()
{
    // The worker settles first: a document it is closing right now is handed over whole.
    askWorkerToQuit();
    waitForWorker([this] { return m_workerDone; });
    const std::lock_guard lock(m_mutex);
    return m_stage == Stage::Open ? m_handedOver : QString();
}

bool QueueLink::failed() const
{
    const std::lock_guard lock(m_mutex);
    return m_stage == Stage::Refused || m_stage == Stage::Failed;
}

QString QueueLink::errorText() const
{
    const std::lock_guard lock(m_mutex);
    return m_errorText.isEmpty() ? m_latest : m_errorText;
}

void QueueLink::run()
{
    std::string said;
    const PrintQueueJob::Verdict verdict = m_job->verdict(said);
    {
        const std::lock_guard lock(m_mutex);
        if (verdict == PrintQueueJob::Verdict::Takes) {
            m_stage = Stage::Open;
        } else {
            m_stage = Stage::Refused;
            m_errorText =
                LinkTexts::queueProblem(m_name, verdictText(verdict), QString::fromStdString(said));
        }
    }
    if (verdict == PrintQueueJob::Verdict::Takes && handOn())
        waitForCompletion();
    // Only a document still open is dropped, so no part of it prints. A job the scheduler has
    // whole is never cancelled: cut off, it would leave the printer inside a command, and a
    // stop, a failure or a wait's limit leaves it printing as the scheduler goes on. Only this
    // thread writes m_handedOver.
    if (m_handedOver.isEmpty())
        m_job->abandon();
    const std::lock_guard lock(m_mutex);
    m_workerDone = true;
}

bool QueueLink::handOn()
{
    bool started = false;
    for (;;) {
        QByteArray piece;
        {
            std::unique_lock lock(m_mutex);
            m_wake.wait(lock, [this] { return m_quit || m_endRequested || !m_pending.isEmpty(); });
            if (m_quit)
                return false;
            if (m_pending.isEmpty())
                break;
            piece = m_pending.first();
        }
        if ((!started && !(started = m_job->start())) ||
            !m_job->write(piece.constData(), std::size_t(piece.size()))) {
            setFailure(LinkTexts::QueueFailed, QString::fromStdString(m_job->error()));
            return false;
        }
        const std::lock_guard lock(m_mutex);
        m_pending.removeFirst();
        m_pendingBytes -= int(piece.size());
    }
    // Nothing sent, nothing to deliver: no job is made.
    if (!started) {
        const std::lock_guard lock(m_mutex);
        m_stage = Stage::Completed;
        return false;
    }
    if (!m_job->finish()) {
        setFailure(LinkTexts::QueueFailed, QString::fromStdString(m_job->error()));
        return false;
    }
    const std::lock_guard lock(m_mutex);
    m_handedOver = LinkTexts::leftInQueue(m_name, QString::fromStdString(m_job->name()));
    return true;
}

void QueueLink::waitForCompletion()
{
    bool printingSeen = false;
    auto answered = std::chrono::steady_clock::now();
    for (std::chrono::milliseconds pause = FirstPoll;; pause = std::min(2 * pause, LastPoll)) {
        std::string said;
        const PrintQueueJob::Phase phase = m_job->phase(said);
        const auto now = std::chrono::steady_clock::now();
        if (phase != PrintQueueJob::Phase::Unanswered)
            answered = now;
        else if (now - answered > SilenceLimit) {
            setFailure(LinkTexts::QueueSilent, QString::fromStdString(said), m_handedOver);
            return;
        }
        printingSeen = printingSeen || phase == PrintQueueJob::Phase::Printing;
        if (!take(phase, QString::fromStdString(said), printingSeen))
            return;
        std::unique_lock lock(m_mutex);
        if (m_wake.wait_for(lock, pause, [this] { return m_quit; }))
            return;
    }
}

bool QueueLink::take(PrintQueueJob::Phase phase, const QString &said, bool printingSeen)
{
    using Phase = PrintQueueJob::Phase;
    // A scheduler that forgets ended jobs says nothing of how this one ended: it completed
    // only if the printer was seen working on it.
    if (phase == Phase::Gone && printingSeen)
        phase = Phase::Completed;
    switch (phase) {
    case Phase::Unanswered:
        return true;
    case Phase::Printing:
    case Phase::Pending: {
        const std::lock_guard lock(m_mutex);
        m_latest = said;
        return true;
    }
    case Phase::Completed: {
        const std::lock_guard lock(m_mutex);
        m_stage = Stage::Completed;
        return false;
    }
    case Phase::Stopped:
        setFailure(phaseText(phase), said, m_handedOver);
        return false;
    case Phase::Gone:
    case Phase::Aborted:
    case Phase::Cancelled:
        break;
    }
    setFailure(phaseText(phase), said);
    return false;
}

void QueueLink::setFailure(const QString &what, const QString &said, const QString &left)
{
    const std::lock_guard lock(m_mutex);
    m_stage = Stage::Failed;
    m_errorText = LinkTexts::queueProblem(m_name, what, said);
    if (!left.isEmpty())
        m_errorText += QLatin1Char(' ') + left;
    m_pending.clear();
    m_pendingBytes = 0;
}

void QueueLink::waitForWorker(const std::function<bool()> &done)
{
    const auto finished = [this, &done] {
        const std::lock_guard lock(m_mutex);
        return done();
    };
    if (finished())
        return;
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (finished())
            loop.quit();
    });
    poll.start(5);
    loop.exec();
}
