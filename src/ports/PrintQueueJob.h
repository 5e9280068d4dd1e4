#pragma once

#include <cstddef>
#include <memory>
#include <string>

// One raw job on a print queue of the system (a CUPS destination, a Windows printer). Every
// call may block, each for a bounded time, so the link makes them on a thread of its own.
// Texts are UTF-8, the scheduler's own words where it gives any.
class PrintQueueJob
{
public:
    enum class Verdict { Takes, Unknown, Paused, Rejecting, Unreachable };
    enum class Phase { Waiting, Completed, Aborted, Cancelled, Stopped };

    virtual ~PrintQueueJob() = default;

    // Whether the queue takes jobs now; said gives the scheduler's reason when it does not.
    virtual Verdict verdict(std::string &said) = 0;
    // Creates the job and opens its one raw document.
    virtual bool start() = 0;
    virtual bool write(const char *bytes, std::size_t size) = 0;
    // Closes the document: the scheduler has the whole job.
    virtual bool finish() = 0;
    // Where the job stands; said gives the scheduler's latest word on it.
    virtual Phase phase(std::string &said) = 0;
    virtual void cancel() = 0;
    // Why the last call failed, in the scheduler's words.
    virtual std::string error() const = 0;
};

std::unique_ptr<PrintQueueJob> createPrintQueueJob(const std::string &queueName);
