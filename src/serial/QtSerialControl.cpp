#include "QtSerialControl.h"

#include "QtSerialPlatform.h"
#include "SerialLog.h"
#include "SerialSettings.h"
#include "SerialTexts.h"

#include <QDeadlineTimer>
#include <QThread>

#include <algorithm>
#include <climits>
#include <utility>

namespace {

// Only RTS/CTS is offered besides none: XON/XOFF would eat bytes of a binary raster stream.
QSerialPort::FlowControl flowControlFor(qint32 handshaking)
{
    return handshaking == 2 ? QSerialPort::HardwareControl : QSerialPort::NoFlowControl;
}

QSerialPort::Parity qtParity(SerialSettings::Parity parity)
{
    switch (parity) {
    case SerialSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case SerialSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case SerialSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case SerialSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    case SerialSettings::Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits qtStopBits(SerialSettings::StopBits stopBits)
{
    switch (stopBits) {
    case SerialSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case SerialSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    case SerialSettings::StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

constexpr int drainStepMs = 100;
constexpr int driverPollMs = 10;
constexpr qsizetype inBufferSize = 1024;

} // namespace

QtSerialControl::QtSerialControl()
{
    QObject::connect(&m_port, &QSerialPort::errorOccurred, &m_port,
                     [this](QSerialPort::SerialPortError error) { handleError(error); });
    QObject::connect(&m_port, &QSerialPort::readyRead, &m_port, [this] { receive(); });
}

QtSerialControl::~QtSerialControl()
{
    closePort();
}

void QtSerialControl::applyHandshaking()
{
    if (!m_port.setFlowControl(flowControlFor(Handshaking())))
        m_errorText = SerialTexts::handshakingRefused(m_openName, m_port.errorString());
}

int QtSerialControl::OutBufferCount() const
{
    if (!m_port.isOpen())
        return 0;
    return static_cast<int>(
        std::min<qint64>(m_port.bytesToWrite() + driverOutputQueue(m_port), INT_MAX));
}

bool QtSerialControl::CTSHolding() const
{
    if (!m_port.isOpen())
        return false;
    m_port.clearError();
    const QSerialPort::PinoutSignals lines = m_port.pinoutSignals();
    if (m_port.error() == QSerialPort::UnsupportedOperationError) {
        // A line without modem control (a pseudo-terminal) never holds the sender back.
        m_port.clearError();
        return true;
    }
    return lines.testFlag(QSerialPort::ClearToSendSignal);
}

void QtSerialControl::setOutput(const QByteArray &bytes)
{
    if (!m_port.isOpen()) {
        failWrite(SerialTexts::notOpen());
        return;
    }
    if (m_port.write(bytes) != bytes.size())
        failWrite(SerialTexts::writeFailed(m_openName, m_port.errorString()));
}

QByteArray QtSerialControl::Input()
{
    if (m_port.isOpen())
        receive();
    return std::exchange(m_input, {});
}

// Whatever the printer sends is kept up to the receive buffer's size, so nothing piles up.
void QtSerialControl::receive()
{
    m_input += m_port.readAll();
    if (m_input.size() > inBufferSize)
        m_input.remove(0, m_input.size() - inBufferSize);
}

void QtSerialControl::openPort()
{
    if (m_port.isOpen())
        return;
    m_errorText.clear();
    m_input.clear();
    m_writeFailed = false;
    m_deviceLost = false;

    const std::optional<PortToOpen> port = portToOpen(m_errorText);
    if (!port)
        return;
    const SerialSettings &settings = port->settings;
    const QString &name = port->name;

    // Before open() these only record the values; open() applies them or fails.
    m_port.setPortName(name);
    m_port.setBaudRate(settings.rate);
    m_port.setParity(qtParity(settings.parity));
    m_port.setDataBits(static_cast<QSerialPort::DataBits>(settings.dataBits));
    m_port.setStopBits(qtStopBits(settings.stopBits));
    m_port.setFlowControl(flowControlFor(Handshaking()));
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_errorText = SerialTexts::openFailed(classifyOpenFailure(m_port.error(), name), name,
                                              m_port.errorString());
        qCWarning(lcSerial) << "opening" << name << "failed:" << m_port.errorString();
        return;
    }
    m_openRate = settings.rate;
    m_openName = name;
}

void QtSerialControl::closePort()
{
    if (!m_port.isOpen())
        return;
    drainOutput();
    const qint64 heldByDriver = driverOutputQueue(m_port);
    const qint64 unsent = m_port.bytesToWrite() + heldByDriver;
    if (unsent > 0) {
        qCWarning(lcSerial) << unsent << "bytes not sent to" << m_openName;
        const QString text = SerialTexts::bytesNotSent(unsent, m_openName);
        m_errorText = m_errorText.isEmpty() ? text : m_errorText + QStringLiteral("; ") + text;
        // Bytes that never left count as a failed write, so no job reports success.
        m_writeFailed = true;
    }
    // Only when the driver owns up to held bytes: a pty reports none, and flushing it would
    // drop bytes its reader has not fetched yet.
    if (heldByDriver > 0)
        discardDriverOutput(m_port);
    // close() throws away Qt's write buffer, hence the drain above.
    m_port.close();
}

// Waits until Qt's buffer and then the driver's queue are empty, at most as long as the queued
// bytes need at the line rate plus a grace.
void QtSerialControl::drainOutput()
{
    const qint64 queued = m_port.bytesToWrite() + driverOutputQueue(m_port);
    if (queued == 0 || m_writeFailed)
        return;

    const QDeadlineTimer deadline(drainLimitMs(queued, m_openRate));
    while (m_port.bytesToWrite() > 0 && !m_writeFailed && !deadline.hasExpired())
        m_port.waitForBytesWritten(
            static_cast<int>(std::min<qint64>(deadline.remainingTime(), drainStepMs)));
    // tcdrain() could block for good while the peer holds CTS low, so poll the queue instead.
    while (!m_writeFailed && driverOutputQueue(m_port) > 0 && !deadline.hasExpired())
        QThread::msleep(driverPollMs);
}

void QtSerialControl::handleError(QSerialPort::SerialPortError error)
{
    switch (error) {
    case QSerialPort::WriteError:
        failWrite(SerialTexts::writeFailed(m_openName, m_port.errorString()));
        break;
    case QSerialPort::ResourceError:
    case QSerialPort::ReadError:
        // The device is gone: EIO, or a hung-up line that reads as end of file, which Qt
        // reports again on every pass of the event loop until the port is closed. Close once
        // Qt has left its notifier.
        failWrite(SerialTexts::deviceLost(m_openName));
        m_deviceLost = true;
        QMetaObject::invokeMethod(
            &m_port,
            [this] {
                if (m_deviceLost)
                    closePort();
            },
            Qt::QueuedConnection);
        break;
    default:
        break;
    }
}

void QtSerialControl::failWrite(const QString &text)
{
    if (m_writeFailed)
        return;
    m_writeFailed = true;
    m_errorText = text;
    qCWarning(lcSerial) << text;
}
