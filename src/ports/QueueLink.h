#pragma once

#include "PrintQueueJob.h"
#include "PrinterLink.h"

#include <QList>

#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// A printer behind the system's print queue: the stream goes to the scheduler as one raw job,
// and the job is done once the scheduler says so. Every call to the scheduler runs on a thread
// of the link's own, so the window stays live; the queue carries no answers back.
class QueueLink : public PrinterLink
{
public:
    // Pieces of 64 KiB, at most 128 KiB waiting for the scheduler.
    static constexpr int BufferSize = 256 * 1024;

    explicit QueueLink(QString queueName);
    ~QueueLink() override;

    // Asks the scheduler whether the queue takes jobs; no job exists before the first write.
    bool open() override;
    // Cancels the job unless the scheduler has completed it.
    bool close() override;

    int outBufferSize() const override { return BufferSize; }
    // Bytes not yet handed to the queue.
    int backlog() const override;
    bool maySendNow() const override { return true; }
    void write(const QByteArray &bytes) override;

    bool canAnswer() const override { return false; }
    QByteArray takeAnswers() override { return {}; }

    void endJob() override;
    bool jobCompleted() const override;

    bool failed() const override;
    // Why the job failed; while it waits, the scheduler's latest word on it.
    QString errorText() const override;

private:
    enum class Stage { Checking, Open, Refused, Completed, Failed };

    void run();
    void askWorkerToQuit();
    // Hands the pieces on as they come; true once the whole job is with the scheduler.
    bool handOn();
    void waitForCompletion();
    void setFailure(const QString &what, const QString &said);
    // Runs the event loop until done() holds; done() is called under the lock.
    void waitForWorker(const std::function<bool()> &done);

    QString m_name;
    std::unique_ptr<PrintQueueJob> m_job;
    std::thread m_worker;
    mutable std::mutex m_mutex;
    std::condition_variable m_wake;
    // Guarded by m_mutex.
    QList<QByteArray> m_pending;
    int m_pendingBytes = 0;
    bool m_endRequested = false;
    bool m_quit = false;
    bool m_workerDone = false;
    Stage m_stage = Stage::Checking;
    QString m_errorText;
    QString m_latest;
};
