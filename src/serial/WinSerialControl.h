#pragma once

#include "CommPort_win.h"
#include "NamedSerialControl.h"

// The serial-port control over Orvane's own Win32 serial calls. Bytes leave from a writer
// thread of the port's own; closing (PortOpen false or destruction) first sends what is
// queued, within a bound set by the rate.
class WinSerialControl : public NamedSerialControl
{
public:
    WinSerialControl() = default;
    ~WinSerialControl() override;

    WinSerialControl(const WinSerialControl &) = delete;
    WinSerialControl &operator=(const WinSerialControl &) = delete;

    bool PortOpen() const override { return m_port.isOpen(); }
    int OutBufferCount() const override;
    bool CTSHolding() const override;
    void setOutput(const QByteArray &bytes) override;
    QByteArray Input() override;

    QString errorText() const override;
    bool writeFailed() const override;

private:
    void openPort() override;
    void closePort() override;
    void applyHandshaking() override;
    void failWrite(const QString &text) const;
    // The writer thread fails on its own; its error is taken in when the state is read.
    void takeWriterError() const;

    qint32 m_openRate = 9600;
    QString m_openName;
    QByteArray m_input;
    mutable QString m_errorText;
    mutable bool m_writeFailed = false;
    ::CommPort m_port;
};
