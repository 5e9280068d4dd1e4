#include "PortLink.h"

#include "DeviceFileLink.h"
#include "LinkTexts.h"
#include "NetworkLink.h"
#include "NumberText.h"
#include "PortNames.h"
#include "QueueLink.h"
#include "SerialControl.h"
#include "SerialLink.h"

#include <optional>

namespace {

// The link's status texts; they go to the trace only.
const QString PortSettingInvalid = QStringLiteral("連接埠設置異常.");
const QString RateSettingInvalid = QStringLiteral("傳輸速率設置異常.");
const QString PortOpened = QStringLiteral("連接埠已開啟");
const QString PortOpenFailed = QStringLiteral("連接埠開啟失敗");
const QString PortClosed = QStringLiteral("連接埠已關閉");
const QString PortCloseFailed = QStringLiteral("連接埠關閉失敗");
const QString PortNotOpen = QStringLiteral("連接埠未開啟");

std::optional<qint32> rateOf(const QString &rateText)
{
    return wholeNumberOf<qint32>(trimSpaces(rateText));
}

QString withReason(const QString &status, const QString &reason)
{
    return reason.isEmpty() ? status : status + QStringLiteral(": ") + reason;
}

} // namespace

PortLink::PortLink(SerialControl &MSComm, TraceSink trace, DeviceResolver parallelDevice)
    : m_serial(MSComm)
    , m_trace(trace ? std::move(trace) : TraceSink(TraceMessage))
    , m_parallelDevice(parallelDevice ? std::move(parallelDevice)
                                      : DeviceResolver(parallelDeviceFor))
    , m_connectLimit(NetworkLink::ConnectLimit)
{}

PortLink::~PortLink() = default;

bool PortLink::OpenPort(const QString &portText, const QString &rateText)
{
    // A failure tells its own reason, never one left from an earlier link.
    m_errorText.clear();
    m_closedLinkFailed = false;
    switch (linkKindOf(portText)) {
    case LinkKind::Serial:
        return openSerial(portText, rateText);
    case LinkKind::Parallel:
        return openParallel(portText);
    case LinkKind::Network:
        return openNetwork(portText);
    case LinkKind::Queue:
        return openQueue(portText);
    case LinkKind::None:
        break;
    }
    return false;
}

bool PortLink::openSerial(const QString &portText, const QString &rateText)
{
    // A COM name selects the port by number; a device path (/dev/ttyUSB0) names it directly.
    std::optional<qint16> number;
    if (IsComPort(portText)) {
        number = portNumberOf(portText);
        if (!number)
            return refuseName(portText);
    }
    const std::optional<qint32> rate = rateOf(rateText);
    if (!rate) {
        m_errorText = LinkTexts::badRate(trimSpaces(rateText));
        m_trace(RateSettingInvalid);
        return false;
    }
    if (m_link || m_serial.PortOpen())
        return false;
    const QString settings = QString::number(*rate) + QStringLiteral(",n,8,1");
    const QString device = number ? QString() : serialDeviceFor(portText);
    if (!open(std::make_unique<SerialLink>(m_serial, number, device, settings), LinkKind::Serial))
        return false;
    m_trace(PortOpened);
    return true;
}

bool PortLink::openParallel(const QString &portText)
{
    if (IsLptPort(portText) && !portNumberOf(portText))
        return refuseName(portText);
    if (m_link)
        return false;
    return open(std::make_unique<DeviceFileLink>(m_parallelDevice(portText)), LinkKind::Parallel);
}

bool PortLink::refuseName(const QString &portText)
{
    const QString name = trimSpaces(portText);
    m_errorText = name.endsWith(QLatin1Char(':')) ? LinkTexts::badPortNumber(name)
                                                  : LinkTexts::nameWithoutColon(name);
    m_trace(PortSettingInvalid);
    return false;
}

// The rate is not used: the network carries no line settings.
bool PortLink::openNetwork(const QString &portText)
{
    if (m_link)
        return false;
    if (!open(std::make_unique<NetworkLink>(*networkAddressOf(portText), m_connectLimit,
                                            m_stopRequested),
              LinkKind::Network))
        return false;
    m_trace(PortOpened);
    return true;
}

// The scheduler drives the printer: no line settings, no device of Orvane's own.
bool PortLink::openQueue(const QString &portText)
{
    if (m_link)
        return false;
    if (!open(std::make_unique<QueueLink>(queueNameOf(portText)), LinkKind::Queue))
        return false;
    m_trace(PortOpened);
    return true;
}

bool PortLink::open(std::unique_ptr<PrinterLink> link, LinkKind kind)
{
    // Held while it opens: a connection's wait lets other handlers run, and a second open
    // meanwhile must be refused.
    m_link = std::move(link);
    m_openKind = kind;
    if (m_link->open())
        return true;
    traceFailure(PortOpenFailed, m_link->errorText());
    m_link.reset();
    m_openKind = LinkKind::None;
    return false;
}

bool PortLink::ClosePort(const QString &portText)
{
    const LinkKind kind = m_link ? m_openKind : linkKindOf(portText);
    switch (kind) {
    case LinkKind::Serial:
        return closeSerial();
    case LinkKind::Parallel:
        if (m_link) {
            m_link->close();
            release();
        }
        return true;
    case LinkKind::Network:
    case LinkKind::Queue:
        return closeHeld();
    case LinkKind::None:
        break;
    }
    return false;
}

// A link that no other part of the program opens for it: the one this PortLink holds.
bool PortLink::closeHeld()
{
    if (!m_link) {
        m_trace(PortNotOpen);
        return true;
    }
    m_link->close();
    m_trace(withReason(PortClosed, m_link->errorText()));
    release();
    return true;
}

bool PortLink::closeSerial()
{
    QString status = PortNotOpen;
    if (m_serial.PortOpen()) {
        // The port box names the control, so it is closed even when this link did not open it.
        const bool closed = m_link ? m_link->close() : SerialLink(m_serial, {}, {}, {}).close();
        if (!closed) {
            traceFailure(PortCloseFailed, m_serial.errorText());
            return false;
        }
        status = PortClosed;
    }
    if (!m_link) {
        m_trace(status);
        return true;
    }
    // Bytes the control could not send, or why it lost the line, are told with the close of
    // the link that carried them.
    m_trace(withReason(status, m_link->errorText()));
    release();
    return true;
}

void PortLink::release()
{
    m_closedLinkFailed = m_link->failed();
    if (m_closedLinkFailed)
        m_errorText = m_link->errorText();
    m_link.reset();
    m_openKind = LinkKind::None;
}

void PortLink::traceFailure(const QString &status, const QString &reason)
{
    m_errorText = reason;
    m_trace(withReason(status, reason));
}

LinkKind PortLink::openKind() const
{
    return m_openKind;
}

PrinterLink *PortLink::link() const
{
    return m_link.get();
}

bool PortLink::closedLinkFailed() const
{
    return m_closedLinkFailed;
}

QString PortLink::errorText() const
{
    return m_errorText;
}
