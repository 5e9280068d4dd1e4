#pragma once

#include "NamedSerialControl.h"

#include <QSerialPort>

// The serial-port control over QSerialPort. Bytes leave while the event loop runs; closing
// (PortOpen false or destruction) first sends what is queued, within a bound set by the rate.
class QtSerialControl : public NamedSerialControl
{
public:
    QtSerialControl();
    ~QtSerialControl() override;

    QtSerialControl(const QtSerialControl &) = delete;
    QtSerialControl &operator=(const QtSerialControl &) = delete;

    bool PortOpen() const override { return m_port.isOpen(); }
    int OutBufferCount() const override;
    bool CTSHolding() const override;
    void setOutput(const QByteArray &bytes) override;
    QByteArray Input() override;

    QString errorText() const override { return m_errorText; }
    bool writeFailed() const override { return m_writeFailed; }

private:
    void openPort() override;
    void closePort() override;
    void applyHandshaking() override;
    void drainOutput();
    void handleError(QSerialPort::SerialPortError error);
    void failWrite(const QString &text);
    void receive();

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
