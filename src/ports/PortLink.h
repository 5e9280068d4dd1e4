#pragma once

#include "LinkTrace.h"
#include "PortNames.h"

#include <QString>

#include <chrono>

#include <functional>
#include <memory>

class PrinterLink;
class SerialControl;

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

    // How long a network link may take to connect (NetworkLink::ConnectLimit unless set).
    void setConnectLimit(std::chrono::milliseconds limit) { m_connectLimit = limit; }
    // Ends a network link's waits (connecting, closing) early once it returns true; whatever it
    // asks must outlive every open and close that follows.
    void setStopCheck(std::function<bool()> stopRequested)
    {
        m_stopRequested = std::move(stopRequested);
    }

    LinkKind openKind() const;
    // The open link; nullptr while none is open.
    PrinterLink *link() const;
    // True when the link that closed last had failed: bytes it could not hand on, a lost line.
    bool closedLinkFailed() const;
    // Why the last open failed, or why the link that closed last had failed, in words for the
    // operator (the trace keeps the status texts); cleared by each open.
    QString errorText() const;

private:
    bool openSerial(const QString &portText, const QString &rateText);
    bool openParallel(const QString &portText);
    bool openNetwork(const QString &portText);
    bool openQueue(const QString &portText);
    bool refuseName(const QString &portText);
    bool open(std::unique_ptr<PrinterLink> link, LinkKind kind);
    bool closeSerial();
    bool closeHeld();
    void release();
    void traceFailure(const QString &status, const QString &reason);

    SerialControl &m_serial;
    TraceSink m_trace;
    DeviceResolver m_parallelDevice;
    std::unique_ptr<PrinterLink> m_link;
    std::chrono::milliseconds m_connectLimit;
    std::function<bool()> m_stopRequested;
    LinkKind m_openKind = LinkKind::None;
    bool m_closedLinkFailed = false;
    QString m_errorText;
};
