#pragma once

#include "TakenProgress.h"
#include "TransferLimits.h"

#include <QByteArray>
#include <QDeadlineTimer>
#include <QString>

#include <functional>

class AnswerScanner;
class PortLink;
class PrinterLink;
class TransferHost;

enum class StepStatus {
    Done,
    NoLink,  // no link is open: nothing was sent
    Failed,  // the printer or the link failed; error says how
    Stopped, // the host asked to stop while waiting
};

struct [[nodiscard]] StepResult
{
    StepStatus status = StepStatus::Done;
    QString error;
    bool ok() const { return status == StepStatus::Done; }
};

struct [[nodiscard]] Answer
{
    StepResult step; // Failed or Stopped when the wait ended so
    bool complete = false;
};

// Sends over the link that PortLink opened, whatever its kind: in pieces of a quarter of its
// transmit buffer, each once the printer may take more and less than half the buffer waits;
// in one write on a link without a buffer. On a paced link the progress bar shows what the
// printer has taken.
class Transmitter
{
public:
    Transmitter(PortLink &link, TransferHost &host, TransferLimits limits = {});

    // Returns once every byte is queued on the link or written to the device.
    StepResult SendBytes(const QByteArray &bytes);
    // Waits until the printer may take more (on a paced link), then sends the finish command.
    StepResult FinishTransfer();
    // Waits until the link has handed every queued byte on towards the printer, and on a link
    // to a scheduler until it says the job completed.
    StepResult drain();

    // On a link whose printer shows that it read the stream to its end, ends the stream and
    // waits for that (at most the completion limit); at once on any other link.
    StepResult awaitReadToEnd();
    const TransferLimits &limits() const { return m_limits; }

    // Whether the open link carries the printer's answers back.
    bool hearsAnswers() const;
    // Sends a question: no pacing, no progress. Answers still waiting from before are dropped,
    // so what follows answers this question; dropped() holds them.
    StepResult ask(const QByteArray &question);
    const QByteArray &dropped() const { return m_dropped; }
    // Feeds what the printer sends to the scanner until it is done, or until the deadline
    // (complete is false then); the window stays live meanwhile.
    Answer readAnswer(AnswerScanner &scanner, QDeadlineTimer deadline);

private:
    StepResult sendPaced(PrinterLink &link, const QByteArray &bytes);
    StepResult waitUntilMaySend(PrinterLink &link);
    StepResult waitForRoom(PrinterLink &link, int backlogLimit);
    StepResult waitForCompletion(PrinterLink &link);
    // Lets the window run once; what the printer says meanwhile answers no question and is
    // dropped, so it never piles up while a job is sent.
    StepResult pause(PrinterLink &link);
    StepResult waitForJob(PrinterLink &link);
    // Waits, the window live, until done() holds; fails with late() once the completion limit
    // has passed.
    StepResult awaitPrinter(const PrinterLink &link, const std::function<bool()> &done,
                            const std::function<QString()> &late);
    StepResult interruption(const PrinterLink &link) const;

    PortLink &m_link;
    TransferHost &m_host;
    TransferLimits m_limits;
    TakenProgress m_progress;
    QByteArray m_dropped; // at most the link's answer window
};
