#include "DeviceFileLink.h"

#include "DeviceAnswers.h"

DeviceFileLink::DeviceFileLink(QString device)
    : m_path(std::move(device))
{}

bool DeviceFileLink::open()
{
    return m_device.open(m_path);
}

bool DeviceFileLink::close()
{
    m_device.close();
    return true;
}

void DeviceFileLink::write(const QByteArray &bytes)
{
    if (!m_failed && !m_device.write(bytes))
        m_failed = true;
}

bool DeviceFileLink::canAnswer() const
{
    return deviceAnswers(m_path);
}

QByteArray DeviceFileLink::takeAnswers()
{
    return canAnswer() && m_device.isOpen() ? readDeviceAnswers(m_device.handle(), AnswerWindow)
                                            : QByteArray();
}

QString DeviceFileLink::errorText() const
{
    const QString reason = m_device.errorText();
    return reason.isEmpty() ? reason : m_path + QStringLiteral(": ") + reason;
}
