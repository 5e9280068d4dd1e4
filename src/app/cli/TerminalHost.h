#pragma once

#include "RecentRate.h"
#include "TransferHost.h"

#include <QElapsedTimer>
#include <QTextStream>

// Shows the reset prompt on stderr; waits for Enter when stdin is a terminal.
void waitAtPrompt(const QString &title, const QString &text);

// Runs a transfer on a terminal: messages and progress on stderr, the reset prompt on stdin.
class TerminalHost : public TransferHost
{
public:
    // expectedBytes: the whole stream, for the progress bar; 0 shows none.
    TerminalHost(bool assumeYes, qint64 expectedBytes);
    ~TerminalHost() override;

    void setProgressMin(int value) override;
    void setProgressMax(int value) override;
    void setProgressValue(int value) override;
    void showMessage(const QString &text, const QString &title, MessageKind kind) override;
    // Only --yes confirms: a question on the terminal would stall scripts that run the upload.
    bool confirm(const QString &question, const QString &title) override;
    // The exit code tells the outcome; only a wait for a print queue is told, as it may last,
    // with the scheduler's word on it whenever that changes.
    void setStatus(const QString &text) override;
    void selectImageRow(int) override {}
    void yield() override;
    bool stopRequested() const override;

    bool errorShown() const { return m_errorShown; }
    // The command tells its outcome in its own words, not in the window's "Done!!" box.
    void leaveOutDoneBox() { m_doneBox = false; }

private:
    void drawProgress(bool force);

    bool m_assumeYes;
    qint64 m_expectedBytes;
    bool m_showProgress;
    bool m_sending = false;
    bool m_errorShown = false;
    bool m_doneBox = true;
    qint64 m_doneBefore = 0; // bytes of the arrays already sent
    qint64 m_arraySize = 0;
    qint64 m_sent = 0;
    qint64 m_drawnSent = 0;
    QElapsedTimer m_clock;
    RecentRate m_rate;
    qint64 m_lastDrawMs = -1;
    QTextStream m_err;
};
