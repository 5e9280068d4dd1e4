#include "ScriptedSerialControl.h"

#include <algorithm>
#include <utility>

namespace {

QString boolText(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

} // namespace

void ScriptedSerialControl::setCommPort(qint16 port)
{
    m_writes << QStringLiteral("CommPort=%1").arg(port);
    m_commPort = port;
    m_devicePath.clear();
}

void ScriptedSerialControl::setDevicePath(const QString &path)
{
    m_writes << QStringLiteral("devicePath=%1").arg(path);
    m_devicePath = path;
}

void ScriptedSerialControl::setSettings(const QString &settings)
{
    m_writes << QStringLiteral("Settings=%1").arg(settings);
    m_settings = settings;
}

void ScriptedSerialControl::setPortOpen(bool open)
{
    m_writes << QStringLiteral("PortOpen=%1").arg(boolText(open));
    QString &failure = open ? m_openFailure : m_closeFailure;
    if (!failure.isEmpty()) {
        m_errorText = failure;
        failure.clear();
        return;
    }
    if (!open && !m_closeLoss.isEmpty()) {
        m_writeFailed = true;
        m_errorText = m_closeLoss;
        m_closeLoss.clear();
    }
    m_open = open;
    if (open) {
        m_errorText.clear();
        m_writeFailed = false;
    }
}

void ScriptedSerialControl::setHandshaking(qint32 mode)
{
    m_writes << QStringLiteral("Handshaking=%1").arg(mode);
    m_handshaking = mode;
}

int ScriptedSerialControl::OutBufferCount() const
{
    const int count = m_queued;
    m_queued = m_drainPerRead < 0 ? 0 : std::max(0, m_queued - m_drainPerRead);
    return m_drainPerRead < 0 ? 0 : count;
}

bool ScriptedSerialControl::CTSHolding() const
{
    return m_ctsSource ? m_ctsSource() : m_cts;
}

void ScriptedSerialControl::setOutput(const QByteArray &bytes)
{
    QByteArray accepted = bytes;
    if (m_writeBudget >= 0 && bytes.size() > m_writeBudget) {
        accepted.truncate(m_writeBudget);
        m_writeFailed = true;
        m_errorText = m_writeFailure;
    }
    if (m_writeBudget >= 0)
        m_writeBudget -= accepted.size();
    m_pieces << accepted;
    m_queued += int(accepted.size());
    for (qsizetype i = 0; i + 2 < accepted.size(); ++i) {
        const int n = accepted[i + 2];
        if (accepted[i] == 0x10 && accepted[i + 1] == 0x04 && n >= 1 && n <= m_statusAnswers.size())
            m_input += m_statusAnswers[n - 1];
    }
    const QByteArray processId = QByteArray::fromHex("1D284806003030");
    for (qsizetype at = accepted.indexOf(processId); m_answersProcessId && at >= 0;
         at = accepted.indexOf(processId, at + 1))
        m_input += "\x37\x22" + accepted.mid(at + processId.size(), 4) + '\0';
    if (m_onOutput)
        m_onOutput(accepted);
}

QByteArray ScriptedSerialControl::Input()
{
    return std::exchange(m_input, {});
}

QByteArray ScriptedSerialControl::sent() const
{
    QByteArray all;
    for (const QByteArray &piece : m_pieces)
        all += piece;
    return all;
}

void ScriptedSerialControl::setCts(bool asserted)
{
    m_cts = asserted;
}

void ScriptedSerialControl::drain(int bytes)
{
    m_queued = std::max(0, m_queued - bytes);
}

void ScriptedSerialControl::failOpen(const QString &reason)
{
    m_openFailure = reason;
}

void ScriptedSerialControl::failClose(const QString &reason)
{
    m_closeFailure = reason;
}

void ScriptedSerialControl::failWritesAfter(qsizetype bytes, const QString &reason)
{
    m_writeBudget = bytes;
    m_writeFailure = reason;
}
