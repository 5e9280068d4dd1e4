#pragma once

#include "LinkTrace.h"
#include "PortNames.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <memory>

class SerialControl;
class ParallelDevice;

// The device file to open for a parallel port text; empty means parallelDeviceFor.
using DeviceResolver = std::function<QString(const QString &portText)>;

// The one link to the printer that a transfer opens and closes. The kind and device are
// remembered when the link opens, so the port box may change meanwhile.
class PortLink
{
public:
    explicit PortLink(SerialControl &MSComm, TraceSink trace = TraceMessage,
                      DeviceResolver parallelDevice = {});
    ~PortLink();

    // Opens the link named by the port box at the rate of the rate box. False, changing
    // nothing, while a link of either kind is open.
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
    bool openSerial(const QString &portText, const QString &rateText);
    bool openParallel(const QString &portText);
    bool closeSerial();
    void traceFailure(const QString &status, const QString &reason);

    SerialControl &m_serial;
    TraceSink m_trace;
    DeviceResolver m_parallelDevice;
    std::unique_ptr<ParallelDevice> m_parallel;
    LinkKind m_openKind = LinkKind::None;
    QString m_errorText;
};
