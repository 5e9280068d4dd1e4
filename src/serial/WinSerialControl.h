#pragma once

#include "CommPort_win.h"
#include "SerialControl.h"

// The serial-port control over Orvane's own Win32 serial calls. Bytes leave from a writer
// thread of the port's own; closing (PortOpen false or destruction) first sends what is
// queued, within a bound set by the rate.
class WinSerialControl : public SerialControl
{
public:
    WinSerialControl() = default;
    ~WinSerialControl() override;

    WinSerialControl(const WinSerialControl &) = delete;
    WinSerialControl &operator=(const WinSerialControl &) = delete;

    qint16 CommPort() const override { return m_commPort; }
    void setCommPort(qint16 port) override;
    QString devicePath() const override { return m_devicePath; }
    void setDevicePath(const QString &path) override { m_devicePath = path; }

    QString Settings() const override { return m_settings; }
    void setSettings(const QString &settings) override { m_settings = settings; }

    bool PortOpen() const override { return m_port.isOpen(); }
    void setPortOpen(bool open) override;

    qint32 Handshaking() const override { return m_handshaking; }
    void setHandshaking(qint32 mode) override;

    qint16 OutBufferSize() const override { return 1024; }
    int OutBufferCount() const override;
    bool CTSHolding() const override;
    void setOutput(const QByteArray &bytes) override;
    QByteArray Input() override;

    QString errorText() const override;
    bool writeFailed() const override;

    // The port that setting PortOpen true opens: devicePath, else COM n.
    QString portName() const;

private:
    void openPort();
    void closePort();
    void failWrite(const QString &text) const;
    // The writer thread fails on its own; its error is taken in when the state is read.
    void takeWriterError() const;

    qint16 m_commPort = 1;
    QString m_devicePath;
    QString m_settings = QStringLiteral("9600,n,8,1");
    qint32 m_handshaking = 0;
    qint32 m_openRate = 9600;
    QString m_openName;
    QByteArray m_input;
    mutable QString m_errorText;
    mutable bool m_writeFailed = false;
    ::CommPort m_port;
};
