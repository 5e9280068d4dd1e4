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
    // Gone: the scheduler no longer knows the job and gave no word of how it ended.
    // Unanswered: the scheduler did not answer this time; asking again may do.
    enum class Phase {
        Pending,
        Printing,
        Completed,
        Aborted,
        Cancelled,
        Stopped,
        Gone,
        Unanswered
    };

    virtual ~PrintQueueJob() = default;

    // Whether the queue takes jobs now; said gives the scheduler's reason when it does not.
    virtual Verdict verdict(std::string &said) = 0;
    // Creates the job and opens its one raw document.
    virtual bool start() = 0;
    virtual bool write(const char *bytes, std::size_t size) = 0;
    // Closes the document: the scheduler has the whole job.
    virtual bool finish() = 0;
    // Where the job stands; said gives the scheduler's latest word on it or on its printer.
    virtual Phase phase(std::string &said) = 0;
    // Drops a job whose document is still open, so no part of it prints. A job handed over
    // whole is never cancelled: cut off, it would leave the printer inside a command.
    virtual void abandon() = 0;
    // The job as the scheduler's own tools name it, once start() made it.
    virtual std::string name() const = 0;
    // Why the last call failed, in the scheduler's words.
    virtual std::string error() const = 0;
};

std::unique_ptr<PrintQueueJob> createPrintQueueJob(const std::string &queueName);
