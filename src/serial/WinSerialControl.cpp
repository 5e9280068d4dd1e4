#include "WinSerialControl.h"

#include "SerialLog.h"
#include "SerialSettings.h"
#include "SerialTexts.h"

#include <algorithm>
#include <climits>
#include <utility>

namespace {

constexpr qint32 rtsCtsHandshaking = 2;
constexpr std::size_t inBufferSize = 1024;

BYTE dcbParity(SerialSettings::Parity parity)
{
    switch (parity) {
    case SerialSettings::Parity::Even:
        return EVENPARITY;
    case SerialSettings::Parity::Odd:
        return ODDPARITY;
    case SerialSettings::Parity::Mark:
        return MARKPARITY;
    case SerialSettings::Parity::Space:
        return SPACEPARITY;
    case SerialSettings::Parity::None:
        break;
    }
    return NOPARITY;
}

BYTE dcbStopBits(SerialSettings::StopBits stopBits)
{
    switch (stopBits) {
    case SerialSettings::StopBits::OneAndHalf:
        return ONE5STOPBITS;
    case SerialSettings::StopBits::Two:
        return TWOSTOPBITS;
    case SerialSettings::StopBits::One:
        break;
    }
    return ONESTOPBIT;
}

QString systemText(DWORD error)
{
    return qt_error_string(int(error));
}

} // namespace

WinSerialControl::~WinSerialControl()
{
    closePort();
}

void WinSerialControl::applyHandshaking()
{
    if (const DWORD error = m_port.setRtsCts(Handshaking() == rtsCtsHandshaking);
        error != ERROR_SUCCESS)
        m_errorText = SerialTexts::handshakingRefused(m_openName, systemText(error));
}

int WinSerialControl::OutBufferCount() const
{
    return int(std::min<std::size_t>(m_port.outputCount(), INT_MAX));
}

bool WinSerialControl::CTSHolding() const
{
    return m_port.isOpen() && m_port.clearToSend();
}

void WinSerialControl::setOutput(const QByteArray &bytes)
{
    if (!m_port.isOpen()) {
        failWrite(SerialTexts::notOpen());
        return;
    }
    m_port.write(bytes.constData(), std::size_t(bytes.size()));
    takeWriterError();
}

QByteArray WinSerialControl::Input()
{
    if (m_port.isOpen()) {
        const std::string received = m_port.read(inBufferSize);
        m_input.append(received.data(), qsizetype(received.size()));
        if (m_input.size() > qsizetype(inBufferSize))
            m_input.remove(0, m_input.size() - qsizetype(inBufferSize));
    }
    return std::exchange(m_input, {});
}

QString WinSerialControl::errorText() const
{
    takeWriterError();
    return m_errorText;
}

bool WinSerialControl::writeFailed() const
{
    takeWriterError();
    return m_writeFailed;
}

void WinSerialControl::openPort()
{
    if (m_port.isOpen())
        return;
    m_errorText.clear();
    m_input.clear();
    m_writeFailed = false;

    const std::optional<PortToOpen> port = portToOpen(m_errorText);
    if (!port)
        return;
    const SerialSettings &settings = port->settings;
    const QString &name = port->name;
    const CommLine line{DWORD(settings.rate), BYTE(settings.dataBits), dcbParity(settings.parity),
                        dcbStopBits(settings.stopBits)};
    const DWORD error = m_port.open(name.toStdWString(), line, Handshaking() == rtsCtsHandshaking);
    if (error != ERROR_SUCCESS) {
        m_errorText =
            SerialTexts::openFailed(classifyCommOpenError(error), name, systemText(error));
        qCWarning(lcSerial) << "opening" << name << "failed:" << systemText(error);
        return;
    }
    m_openRate = settings.rate;
    m_openName = name;
}

void WinSerialControl::closePort()
{
    if (!m_port.isOpen())
        return;
    takeWriterError();
    const qint64 queued = qint64(m_port.outputCount());
    const qint64 limit = m_writeFailed || queued == 0 ? 0 : drainLimitMs(queued, m_openRate);
    const qint64 unsent = qint64(m_port.close(DWORD(std::min<qint64>(limit, MAXDWORD - 1))));
    if (unsent > 0) {
        qCWarning(lcSerial) << unsent << "bytes not sent to" << m_openName;
        const QString text = SerialTexts::bytesNotSent(unsent, m_openName);
        m_errorText = m_errorText.isEmpty() ? text : m_errorText + QStringLiteral("; ") + text;
        // Bytes that never left count as a failed write, so no job reports success.
        m_writeFailed = true;
    }
}

void WinSerialControl::takeWriterError() const
{
    const DWORD error = m_port.writeError();
    if (error == ERROR_SUCCESS)
        return;
    failWrite(isCommDeviceGone(error) ? SerialTexts::deviceLost(m_openName)
                                      : SerialTexts::writeFailed(m_openName, systemText(error)));
}

void WinSerialControl::failWrite(const QString &text) const
{
    if (m_writeFailed)
        return;
    m_writeFailed = true;
    m_errorText = text;
    qCWarning(lcSerial) << text;
}
