#include "RecordingTransferHost.h"

void RecordingTransferHost::setProgressMin(int value)
{
    m_progress << QStringLiteral("Min=%1").arg(value);
}

void RecordingTransferHost::setProgressMax(int value)
{
    m_progress << QStringLiteral("Max=%1").arg(value);
}

void RecordingTransferHost::setProgressValue(int value)
{
    m_progress << QStringLiteral("Value=%1").arg(value);
}

void RecordingTransferHost::showMessage(const QString &text, const QString &title, MessageKind kind)
{
    m_messages.append({text, title, kind});
    m_events << QStringLiteral("message:") + text;
    if (m_onMessage)
        m_onMessage(m_messages.last());
}

bool RecordingTransferHost::confirm(const QString &question, const QString &)
{
    m_events << QStringLiteral("question:") + question;
    return m_confirm;
}

void RecordingTransferHost::setStatus(const QString &text)
{
    m_statuses << text;
    m_events << QStringLiteral("status:") + text;
}

void RecordingTransferHost::selectImageRow(int row)
{
    m_rows << row;
    m_events << QStringLiteral("row:%1").arg(row);
}

void RecordingTransferHost::yield()
{
    ++m_yields;
    if (m_onYield)
        m_onYield(m_yields);
}

void RecordingTransferHost::showConversionProgress(int current, int total)
{
    m_conversionProgress << QStringLiteral("%1/%2").arg(current).arg(total);
}

void RecordingTransferHost::conversionEnded()
{
    ++m_conversionEnds;
}
