#include "SerialLink.h"

#include "SerialControl.h"

namespace {

constexpr qint32 RtsCtsHandshaking = 2;

} // namespace

SerialLink::SerialLink(SerialControl &MSComm, std::optional<qint16> commPort, QString devicePath,
                       QString settings)
    : m_control(MSComm)
    , m_commPort(commPort)
    , m_devicePath(std::move(devicePath))
    , m_settings(std::move(settings))
{}

bool SerialLink::open()
{
    if (m_commPort)
        m_control.setCommPort(*m_commPort);
    else
        m_control.setDevicePath(m_devicePath);
    m_control.setSettings(m_settings);
    m_control.setPortOpen(true);
    // After the open, not before: the control applies it to the open port.
    m_control.setHandshaking(RtsCtsHandshaking);
    return m_control.PortOpen();
}

bool SerialLink::close()
{
    if (m_control.PortOpen())
        m_control.setPortOpen(false);
    return !m_control.PortOpen();
}

int SerialLink::outBufferSize() const
{
    return m_control.OutBufferSize();
}

int SerialLink::backlog() const
{
    return m_control.OutBufferCount();
}

bool SerialLink::maySendNow() const
{
    return m_control.CTSHolding();
}

void SerialLink::write(const QByteArray &bytes)
{
    m_control.setOutput(bytes);
}

QByteArray SerialLink::takeAnswers()
{
    return m_control.Input();
}

bool SerialLink::failed() const
{
    return m_control.writeFailed();
}

QString SerialLink::errorText() const
{
    return m_control.errorText();
}
