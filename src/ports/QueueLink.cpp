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
    case PrintQueueJob::Phase::Aborted:
    case PrintQueueJob::Phase::Waiting:
    case PrintQueueJob::Phase::Completed:
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
    bool completed = false;
    {
        const std::lock_guard lock(m_mutex);
        completed = m_stage == Stage::Completed;
    }
    // A job the scheduler has not completed must not print later, after a stop or a failure.
    if (!completed)
        m_job->cancel();
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
    return true;
}

void QueueLink::waitForCompletion()
{
    for (std::chrono::milliseconds pause = FirstPoll;; pause = std::min(2 * pause, LastPoll)) {
        std::string said;
        const PrintQueueJob::Phase phase = m_job->phase(said);
        if (phase != PrintQueueJob::Phase::Waiting && phase != PrintQueueJob::Phase::Completed) {
            setFailure(phaseText(phase), QString::fromStdString(said));
            return;
        }
        std::unique_lock lock(m_mutex);
        m_latest = QString::fromStdString(said);
        if (phase == PrintQueueJob::Phase::Completed) {
            m_stage = Stage::Completed;
            return;
        }
        if (m_wake.wait_for(lock, pause, [this] { return m_quit; }))
            return;
    }
}

void QueueLink::setFailure(const QString &what, const QString &said)
{
    const std::lock_guard lock(m_mutex);
    m_stage = Stage::Failed;
    m_errorText = LinkTexts::queueProblem(m_name, what, said);
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
