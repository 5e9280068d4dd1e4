#include "NamedSerialControl.h"

#include "OpenFailure.h"
#include "SerialPlatform.h"
#include "SerialTexts.h"

void NamedSerialControl::setCommPort(qint16 port)
{
    m_commPort = port;
    m_devicePath.clear();
}

QString NamedSerialControl::portName() const
{
    return m_devicePath.isEmpty() ? serialDeviceName(m_commPort) : m_devicePath;
}

void NamedSerialControl::setPortOpen(bool open)
{
    if (open)
        openPort();
    else
        closePort();
}

void NamedSerialControl::setHandshaking(qint32 mode)
{
    m_handshaking = mode;
    if (PortOpen())
        applyHandshaking();
}

std::optional<NamedSerialControl::PortToOpen> NamedSerialControl::portToOpen(QString &error) const
{
    const std::optional<SerialSettings> settings = parseSerialSettings(m_settings);
    if (!settings) {
        error = SerialTexts::badSettings(m_settings);
        return std::nullopt;
    }
    const QString name = portName();
    if (name.isEmpty()) {
        error = SerialTexts::openFailed(OpenFailure::Missing,
                                        QStringLiteral("COM%1").arg(m_commPort), {});
        return std::nullopt;
    }
    return PortToOpen{*settings, name};
}
