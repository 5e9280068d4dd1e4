#pragma once

#include "SerialControl.h"
#include "SerialSettings.h"

#include <optional>

// What both real serial controls keep alike: which port to open, with which settings and
// handshaking. Opening, closing and applying the handshaking are each platform's own.
class NamedSerialControl : public SerialControl
{
public:
    qint16 CommPort() const override { return m_commPort; }
    void setCommPort(qint16 port) override;
    QString devicePath() const override { return m_devicePath; }
    void setDevicePath(const QString &path) override { m_devicePath = path; }

    QString Settings() const override { return m_settings; }
    void setSettings(const QString &settings) override { m_settings = settings; }

    void setPortOpen(bool open) override;

    qint32 Handshaking() const override { return m_handshaking; }
    void setHandshaking(qint32 mode) override;

    qint16 OutBufferSize() const override { return 1024; }

    // The port that setting PortOpen true opens: devicePath, else the device of COM n.
    QString portName() const;

protected:
    virtual void openPort() = 0;
    virtual void closePort() = 0;
    // Called while the port is open, with Handshaking() already changed.
    virtual void applyHandshaking() = 0;

    struct PortToOpen
    {
        SerialSettings settings;
        QString name;
    };
    // The settings and name an open uses; nothing, with error set, when either is unusable.
    std::optional<PortToOpen> portToOpen(QString &error) const;

private:
    qint16 m_commPort = 1;
    QString m_devicePath;
    QString m_settings = QStringLiteral("9600,n,8,1");
    qint32 m_handshaking = 0;
};
