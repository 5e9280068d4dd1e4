#include "FleetHost.h"

#include "EventLoopYield.h"
#include "FleetTexts.h"
#include "StopSignals.h"
#include "TransferTexts.h"

void PrinterProgress::set(const QString &state)
{
    const std::lock_guard lock(m_mutex);
    m_state = state;
}

QString PrinterProgress::state() const
{
    const std::lock_guard lock(m_mutex);
    return m_state;
}

FleetHost::FleetHost(PrinterProgress &progress, qint64 expectedBytes, bool assumeYes)
    : m_progress(progress)
    , m_expectedBytes(expectedBytes)
    , m_assumeYes(assumeYes)
{}

void FleetHost::setProgressMin(int)
{
    m_doneBefore += m_arraySize;
    m_arraySize = 0;
}

void FleetHost::setProgressMax(int value)
{
    m_arraySize = qint64(value) + 1;
}

void FleetHost::setProgressValue(int value)
{
    if (m_expectedBytes <= 0)
        return;
    const qint64 sent = qMin(m_doneBefore + value + 1, m_expectedBytes);
    const int percent = int(sent * 100 / m_expectedBytes);
    if (percent == m_percent)
        return;
    m_percent = percent;
    m_progress.set(FleetTexts::sending(percent) + m_warning);
}

void FleetHost::showMessage(const QString &text, const QString &, MessageKind kind)
{
    if (kind == MessageKind::Warning) {
        m_warning = QStringLiteral(" (") + text + QLatin1Char(')');
        m_progress.set(m_progress.state() + m_warning);
    }
}

void FleetHost::setStatus(const QString &text)
{
    if (text == TransferTexts::Writing)
        m_progress.set(FleetTexts::Writing + m_warning);
    else if (text.startsWith(TransferTexts::WaitingForPrinter))
        m_progress.set(FleetTexts::Queued + m_warning);
}

void FleetHost::yield()
{
    yieldToEventLoop();
}

bool FleetHost::stopRequested() const
{
    return stopSignalled();
}
