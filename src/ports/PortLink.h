#pragma once

#include "PortNames.h"

#include <QString>

#include <memory>

class SerialControl;
class ParallelDevice;

// The one link to the printer that a transfer opens and closes. The kind and device are
// remembered when the link opens, so the port box may change meanwhile.
class PortLink
{
public:
    explicit PortLink(SerialControl &MSComm);
    ~PortLink();

    // Opens the link named by the port box at the rate of the rate box.
    bool OpenPort(const QString &portText, const QString &rateText);
    // Closes the open link; with none open, answers for the kind that portText names.
    bool ClosePort(const QString &portText);

    LinkKind openKind() const;
    SerialControl &serial() const;
    // The whole array in one write on the parallel link; false when the device refused it.
    bool writeParallel(const QByteArray &bytes);
    // The operating system's reason for the last failure, for the operator.
    QString errorText() const;

private:
    SerialControl &m_serial;
    std::unique_ptr<ParallelDevice> m_parallel;
    LinkKind m_openKind = LinkKind::None;
    QString m_errorText;
};
