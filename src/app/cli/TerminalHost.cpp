#include "TerminalHost.h"
#include "EventLoopYield.h"
#include "Terminal.h"
#include "TransferTexts.h"

#include <csignal>
#include <cstdio>
#include <iostream>
#include <string>

namespace {

volatile std::sig_atomic_t interrupted = 0;

void onInterrupt(int)
{
    interrupted = 1;
    // A second Ctrl-C does not wait for the link to close.
    std::signal(SIGINT, SIG_DFL);
}

QString clockText(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

void waitAtPrompt(const QString &title, const QString &text)
{
    QTextStream err(stderr);
    if (isTerminal(stdin)) {
        err << title << ' ' << text << " Press Enter to go on." << Qt::flush;
        std::string line;
        std::getline(std::cin, line);
    } else {
        err << title << ' ' << text << Qt::endl;
    }
}

TerminalHost::TerminalHost(bool assumeYes, qint64 expectedBytes)
    : m_assumeYes(assumeYes)
    , m_expectedBytes(expectedBytes)
    , m_showProgress(expectedBytes > 0 && isTerminal(stderr))
    , m_err(stderr)
{
    m_clock.start();
}

TerminalHost::~TerminalHost()
{
    if (m_showProgress && m_lastDrawMs >= 0) {
        drawProgress(true);
        m_err << Qt::endl;
    }
    std::signal(SIGINT, SIG_DFL);
}

void TerminalHost::setProgressMin(int)
{
    // Until the first byte goes out, Ctrl-C ends the program as usual and the printer has
    // seen nothing; from then on it ends the wait, so the link is closed and the stop told.
    if (!m_sending) {
        m_sending = true;
        std::signal(SIGINT, onInterrupt);
    }
    m_doneBefore += m_arraySize;
    m_arraySize = 0;
}

void TerminalHost::setProgressMax(int value)
{
    m_arraySize = qint64(value) + 1;
}

void TerminalHost::setProgressValue(int value)
{
    m_sent = m_doneBefore + value + 1;
    drawProgress(false);
}

void TerminalHost::drawProgress(bool force)
{
    if (!m_showProgress)
        return;
    const qint64 now = m_clock.elapsed();
    if (!force && m_lastDrawMs >= 0 && now - m_lastDrawMs < 100)
        return;
    m_lastDrawMs = now;
    m_drawnSent = m_sent;
    const qint64 sent = qMin(m_sent, m_expectedBytes);
    m_rate.add(now, sent);
    constexpr int Width = 30;
    const int filled = int(sent * Width / m_expectedBytes);
    QString line =
        QStringLiteral("\r[%1%2] %3/%4 bytes")
            .arg(QString(filled, QLatin1Char('#')), QString(Width - filled, QLatin1Char('.')))
            .arg(sent)
            .arg(m_expectedBytes);
    // Time left only from a pace seen: an estimate from the first bytes is wild.
    if (const std::optional<double> rate = m_rate.bytesPerSecond(); rate && *rate > 0) {
        const qint64 left = qint64((m_expectedBytes - sent) / *rate);
        line += QStringLiteral("  %1 kB/s  %2 left")
                    .arg(*rate / 1000.0, 0, 'f', 1)
                    .arg(clockText(left));
    }
    m_err << line << ' ';
    m_err.flush();
}

void TerminalHost::showMessage(const QString &text, const QString &title, MessageKind kind)
{
    if (m_showProgress && m_lastDrawMs >= 0) {
        // The line above the message shows the count as it stands, not as last drawn.
        if (m_sent != m_drawnSent)
            drawProgress(true);
        m_err << Qt::endl;
    }
    switch (kind) {
    case MessageKind::Prompt:
        if (m_assumeYes)
            m_err << title << ' ' << text << Qt::endl;
        else
            waitAtPrompt(title, text);
        break;
    case MessageKind::Notice:
        if (m_doneBox || title != TransferTexts::DoneTitle)
            m_err << title << ' ' << text << Qt::endl;
        break;
    case MessageKind::Warning:
        m_err << "orvane: warning: " << text << Qt::endl;
        break;
    case MessageKind::Error:
        m_err << "orvane: " << text << Qt::endl;
        m_errorShown = true;
        break;
    }
    m_lastDrawMs = -1;
}

bool TerminalHost::confirm(const QString &question, const QString &)
{
    if (m_assumeYes)
        return true;
    showMessage(question + QStringLiteral(" Not confirmed: --yes confirms it."), {},
                MessageKind::Error);
    return false;
}

void TerminalHost::setStatus(const QString &text)
{
    // Each change of the scheduler's word on a waiting job is told as it comes.
    if (text.startsWith(TransferTexts::WaitingForPrinter))
        showMessage(text == TransferTexts::WaitingForPrinter ? text + QStringLiteral("...") : text,
                    QStringLiteral("Job handed to the queue."), MessageKind::Notice);
}

void TerminalHost::yield()
{
    // A count that came too soon after the last line is drawn here, once its time has come.
    if (m_sent != m_drawnSent)
        drawProgress(false);
    yieldToEventLoop();
}

bool TerminalHost::stopRequested() const
{
    return interrupted != 0;
}
