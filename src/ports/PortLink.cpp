#include "PortLink.h"

#include "NumberText.h"
#include "ParallelDevice.h"
#include "PortNames.h"
#include "SerialControl.h"

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

constexpr qint32 RtsCtsHandshaking = 2;

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
    , m_parallel(std::make_unique<ParallelDevice>())
{}

PortLink::~PortLink() = default;

bool PortLink::OpenPort(const QString &portText, const QString &rateText)
{
    switch (linkKindOf(portText)) {
    case LinkKind::Serial:
        return openSerial(portText, rateText);
    case LinkKind::Parallel:
        return openParallel(portText);
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
        if (!number) {
            m_trace(PortSettingInvalid);
            return false;
        }
    }
    const std::optional<qint32> rate = rateOf(rateText);
    if (!rate) {
        m_trace(RateSettingInvalid);
        return false;
    }
    if (m_openKind != LinkKind::None || m_serial.PortOpen())
        return false;

    if (number)
        m_serial.setCommPort(*number);
    else
        m_serial.setDevicePath(serialDeviceFor(portText));
    m_serial.setSettings(QString::number(*rate) + QStringLiteral(",n,8,1"));
    m_serial.setPortOpen(true);
    m_serial.setHandshaking(RtsCtsHandshaking);

    if (!m_serial.PortOpen()) {
        traceFailure(PortOpenFailed, m_serial.errorText());
        return false;
    }
    m_openKind = LinkKind::Serial;
    m_trace(PortOpened);
    return true;
}

bool PortLink::openParallel(const QString &portText)
{
    if (IsLptPort(portText) && !portNumberOf(portText)) {
        m_trace(PortSettingInvalid);
        return false;
    }
    if (m_openKind != LinkKind::None)
        return false;

    const QString device = m_parallelDevice(portText);
    if (!m_parallel->open(device)) {
        traceFailure(PortOpenFailed, device + QStringLiteral(": ") + m_parallel->errorText());
        return false;
    }
    m_openKind = LinkKind::Parallel;
    return true;
}

bool PortLink::ClosePort(const QString &portText)
{
    const LinkKind kind = m_openKind != LinkKind::None ? m_openKind : linkKindOf(portText);
    switch (kind) {
    case LinkKind::Serial:
        return closeSerial();
    case LinkKind::Parallel:
        m_parallel->close();
        m_openKind = LinkKind::None;
        return true;
    case LinkKind::None:
        break;
    }
    return false;
}

bool PortLink::closeSerial()
{
    QString status = PortNotOpen;
    if (m_serial.PortOpen()) {
        m_serial.setPortOpen(false);
        if (m_serial.PortOpen()) {
            traceFailure(PortCloseFailed, m_serial.errorText());
            return false;
        }
        status = PortClosed;
    }
    // Bytes the control could not send, or why it lost the line, are told with the close of
    // the link that carried them.
    m_trace(m_openKind == LinkKind::Serial ? withReason(status, m_serial.errorText()) : status);
    m_openKind = LinkKind::None;
    return true;
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

SerialControl &PortLink::serial() const
{
    return m_serial;
}

bool PortLink::writeParallel(const QByteArray &bytes)
{
    if (m_parallel->write(bytes))
        return true;
    m_errorText = m_parallel->errorText();
    return false;
}

QString PortLink::errorText() const
{
    return m_errorText;
}
