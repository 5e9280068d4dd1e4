#pragma once

#include "SerialControl.h"

#include <QSerialPort>

// The serial-port control over QSerialPort. Bytes leave while the event loop runs; closing
// (PortOpen false or destruction) first sends what is queued, within a bound set by the rate.
class QtSerialControl : public SerialControl
{
public:
    QtSerialControl();
    ~QtSerialControl() override;

    QtSerialControl(const QtSerialControl &) = delete;
    QtSerialControl &operator=(const QtSerialControl &) = delete;

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

    QString errorText() const override { return m_errorText; }
    bool writeFailed() const override { return m_writeFailed; }

    // The device that setting PortOpen true opens: devicePath, else the device of COM n.
    QString portName() const;

private:
    void openPort();
    void closePort();
    void drainOutput();
    void handleError(QSerialPort::SerialPortError error);
    void failWrite(const QString &text);
    void receive();

    qint16 m_commPort = 1;
    QString m_devicePath;
    QString m_settings = QStringLiteral("9600,n,8,1");
    qint32 m_handshaking = 0;
    qint32 m_openRate = 9600;
    QString m_openName;
    QString m_errorText;
    QByteArray m_input;
    bool m_writeFailed = false;
    bool m_deviceLost = false;
    // Last member, so it goes first and its close signals still find the state above.
    // Mutable: reading the modem lines goes through QSerialPort's error state.
    mutable QSerialPort m_port;
};
