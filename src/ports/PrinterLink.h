#pragma once

#include <QByteArray>
#include <QString>

// One link to the printer, whatever carries it: a serial port, a printer device file, a
// network connection or the system's print queue. The transmitter paces every kind through it and
// the operations read the printer's answers through it; neither asks which kind it holds.
class PrinterLink
{
public:
    // The most a link keeps of what the printer sent and nobody read yet: far more than any
    // answer Orvane asks for, and a bound on a printer that floods.
    static constexpr qsizetype AnswerWindow = 64 * 1024;

    virtual ~PrinterLink() = default;

    // Opens what the link was made for; false when it did not come up, errorText() says why.
    virtual bool open() = 0;
    // Hands on what is still queued, then closes; false while the link stays open. Bytes the
    // printer could not be given fail the link.
    virtual bool close() = 0;

    // The transmit buffer the pacing divides: pieces of a quarter of it, each queued while less
    // than half of it waits. 0 for a link that takes each array in one write.
    virtual int outBufferSize() const = 0;
    // Whether the bytes the link has handed on tell how far the printer is. A print queue
    // has the whole job long before the printer does, and its scheduler counts nothing.
    virtual bool countsForPrinter() const { return true; }
    // Bytes handed to the link that have not gone on towards the printer yet.
    virtual int backlog() const = 0;
    // False while the printer holds the sender back (CTS low on a serial line).
    virtual bool maySendNow() const = 0;
    // Queues the bytes behind those already queued and returns at once; a link without a
    // buffer writes them before it returns. A failure shows in failed().
    virtual void write(const QByteArray &bytes) = 0;

    // Whether the printer's answers come back over this link.
    virtual bool canAnswer() const = 0;
    // What the printer sent since the last call, at most AnswerWindow bytes; it arrives while
    // the event loop runs.
    virtual QByteArray takeAnswers() = 0;

    // A link to a scheduler ends the job once every byte is handed on, and learns from the
    // scheduler when the printer has it. A link straight to the printer has no job to end.
    virtual void endJob() {}
    virtual bool jobCompleted() const { return true; }
    // Ends the wait for the job before it completed (a stop): where the job stays,
    // when the scheduler has it whole and it will print; empty when no part of it will.
    virtual QString leaveJob() { return {}; }

    // True once the link has failed: a write refused, the device gone, the connection lost.
    virtual bool failed() const = 0;
    // Why the link failed or did not open, in words for the operator.
    virtual QString errorText() const = 0;
    // Ends the stream where the printer answers its end by closing its side once it has read
    // every byte (a network connection); false on a link that cannot tell.
    virtual bool endStream() { return false; }
    // True once the printer has shown that it read the stream to its end.
    virtual bool printerReadToEnd() const { return false; }

    // True when the printer itself ended the connection.
    virtual bool closedByPrinter() const { return false; }
};
