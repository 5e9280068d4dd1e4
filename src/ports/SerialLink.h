#pragma once

#include "PrinterLink.h"

#include <optional>

class SerialControl;

// A serial port through the serial-port control, which keeps its own property set: the link
// only sets and reads those properties.
class SerialLink : public PrinterLink
{
public:
    // The port is a COM number, or else a device path.
    SerialLink(SerialControl &MSComm, std::optional<qint16> commPort, QString devicePath,
               QString settings);

    // CommPort (or the device path), Settings, PortOpen, then Handshaking, in that order;
    // the result is PortOpen read back.
    bool open() override;
    // PortOpen false, which sends what is queued first; the result is the port read closed.
    bool close() override;

    int outBufferSize() const override;
    int backlog() const override;
    bool maySendNow() const override;
    void write(const QByteArray &bytes) override;

    bool canAnswer() const override { return true; }
    QByteArray takeAnswers() override;

    bool failed() const override;
    QString errorText() const override;

private:
    SerialControl &m_control;
    std::optional<qint16> m_commPort;
    QString m_devicePath;
    QString m_settings;
};
