#pragma once

#include <QString>

// What a transfer needs from whoever runs it: the window or the command line.
class TransferHost
{
public:
    virtual ~TransferHost() = default;

    // The progress bar, written in the order Min, Max, then Value from 0 upward.
    virtual void setProgressMin(int value) = 0;
    virtual void setProgressMax(int value) = 0;
    virtual void setProgressValue(int value) = 0;

    enum class MessageKind {
        Prompt,  // the operator must act before the transfer goes on (reset the printer)
        Notice,  // the outcome of a finished job
        Warning, // something the operator should know; the job goes on
        Error,   // why a transfer was refused or ended
    };
    // A modal box with one OK button; returns when the operator closes it.
    virtual void showMessage(const QString &text, const QString &title, MessageKind kind) = 0;
    // A Yes/No question before what cannot be undone; true only for Yes. A host that cannot
    // ask anyone takes it for No.
    virtual bool confirm([[maybe_unused]] const QString &question,
                         [[maybe_unused]] const QString &title)
    {
        return false;
    }
    // The status line.
    virtual void setStatus(const QString &text) = 0;
    // Selects the row of the image list whose record is being sent.
    virtual void selectImageRow(int row) = 0;
    // Picture current of total is being converted, before an upload sends anything.
    virtual void showConversionProgress([[maybe_unused]] int current, [[maybe_unused]] int total) {}
    // The conversion has ended, whichever way.
    virtual void conversionEnded() {}

    // Lets pending events run once, then sleeps until the next event or at most 2 ms
    // (yieldToEventLoop does exactly this).
    virtual void yield() = 0;
    // True once the operator has asked to quit; every wait ends then.
    virtual bool stopRequested() const = 0;
};
