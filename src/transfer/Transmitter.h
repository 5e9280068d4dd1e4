#pragma once

#include "TransferLimits.h"

#include <QByteArray>
#include <QString>

class PortLink;
class SerialControl;
class TransferHost;

enum class StepStatus {
    Done,
    NoLink,  // no link is open: nothing was sent
    Failed,  // the printer or the link failed; error says how
    Stopped, // the host asked to stop while waiting
};

struct [[nodiscard]] StepResult
{
    StepStatus status = StepStatus::Done;
    QString error;
    bool ok() const { return status == StepStatus::Done; }
};

// Sends over the link that PortLink opened: paced by CTS and the transmit buffer on the
// serial link, in one write on the parallel link.
class Transmitter
{
public:
    Transmitter(PortLink &link, TransferHost &host, TransferLimits limits = {});

    // Returns once every byte is queued on the serial control or written to the device.
    StepResult SendBytes(const QByteArray &bytes);
    // Waits until the printer is ready (serial), sends the finish command, tells the operator.
    StepResult FinishTransfer();

private:
    StepResult sendSerial(const QByteArray &bytes);
    StepResult waitForCts();
    StepResult waitForRoom(int backlogLimit);
    StepResult waitForCompletion();
    StepResult interruption() const;

    PortLink &m_link;
    SerialControl &m_serial;
    TransferHost &m_host;
    TransferLimits m_limits;
};
