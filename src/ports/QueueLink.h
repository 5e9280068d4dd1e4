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
    // Drops a job whose document is still open; a job handed over whole stays with the
    // scheduler.
    bool close() override;

    int outBufferSize() const override { return BufferSize; }
    bool countsForPrinter() const override { return false; }
    // Bytes not yet handed to the queue.
    int backlog() const override;
    bool maySendNow() const override { return true; }
    void write(const QByteArray &bytes) override;

    bool canAnswer() const override { return false; }
    QByteArray takeAnswers() override { return {}; }

    void endJob() override;
    bool jobCompleted() const override;
    QString leaveJob() override;

    bool failed() const override;
    // Why the job failed; while it waits, the scheduler's latest word on it or its printer.
    QString errorText() const override;

private:
    enum class Stage { Checking, Open, Refused, Completed, Failed };

    void run();
    void askWorkerToQuit();
    // Hands the pieces on as they come; true once the whole job is with the scheduler.
    bool handOn();
    void waitForCompletion();
    // Files the scheduler's answer; false once it ends the wait.
    bool take(PrintQueueJob::Phase phase, const QString &said, bool printingSeen);
    // left: where the job stays, when it does.
    void setFailure(const QString &what, const QString &said, const QString &left = {});
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
    // Where the job stays once the scheduler has it whole; empty before.
    QString m_handedOver;
};
