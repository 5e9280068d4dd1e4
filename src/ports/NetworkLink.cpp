#include "NetworkLink.h"

#include "LinkTexts.h"
#include "SocketPlatform.h"

#include <QEventLoop>
#include <QTimer>
#include <QtGlobal>

#include <climits>

NetworkLink::NetworkLink(NetworkAddress address, std::chrono::milliseconds connectLimit,
                         std::function<bool()> stopRequested)
    : m_address(std::move(address))
    , m_connectLimit(connectLimit)
    , m_stopRequested(std::move(stopRequested))
{
    // Qt stops reading the socket once this much waits, so a flood waits in the kernel instead.
    m_socket.setReadBufferSize(AnswerWindow);
    QObject::connect(&m_socket, &QAbstractSocket::errorOccurred, &m_socket,
                     [this](QAbstractSocket::SocketError error) { onError(error); });
}

NetworkLink::~NetworkLink()
{
    releaseEnd();
}

bool NetworkLink::open()
{
    m_socket.connectToHost(m_address.host, m_address.port);
    const bool connected = waitUntil(
        [this] { return m_socket.state() == QAbstractSocket::ConnectedState || failed(); },
        m_connectLimit);
    if (connected && !failed())
        return true;
    if (!failed())
        m_errorText = stopRequested() ? LinkTexts::connectStopped(m_address.text())
                                      : LinkTexts::timedOut(m_address.text(), m_connectLimit);
    // Nothing was sent, so nothing is lost by dropping the attempt.
    m_socket.abort();
    return false;
}

bool NetworkLink::close()
{
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        m_socket.flush();
        waitUntil([this] { return m_socket.bytesToWrite() == 0 || failed(); }, CloseLimit);
        endStream();
    }
    if (m_end >= 0) {
        waitUntil([this] { return m_printerClosed || failed(); }, CloseLimit);
        if (const qint64 unacknowledged = unacknowledgedBytes(m_end);
            unacknowledged > 0 && !failed())
            m_errorText = LinkTexts::notAcknowledged(unacknowledged, m_address.text());
        releaseEnd();
    }
    // Bytes Qt still held were never handed on: they fail the job.
    if (m_socket.bytesToWrite() > 0 && !failed())
        m_errorText = LinkTexts::notHandedOn(m_socket.bytesToWrite(), m_address.text());
    m_socket.close();
    return true;
}

bool NetworkLink::endStream()
{
    if (m_end >= 0)
        return true;
    if (failed() || m_socket.state() != QAbstractSocket::ConnectedState ||
        m_socket.bytesToWrite() > 0)
        return false;
    m_end = duplicateSocket(m_socket.socketDescriptor());
    if (m_end < 0) {
        // Without a descriptor of its own the link can still end the stream, not watch it.
        shutdownWriting(m_socket.socketDescriptor());
        return false;
    }
    // Qt lets go of its descriptor; the connection lives on in the link's own.
    m_socket.abort();
    shutdownWriting(m_end);
    m_endWatch = std::make_unique<QSocketNotifier>(m_end, QSocketNotifier::Read);
    QObject::connect(m_endWatch.get(), &QSocketNotifier::activated, m_endWatch.get(),
                     [this] { readEnd(); });
    readEnd();
    return true;
}

bool NetworkLink::printerReadToEnd() const
{
    return m_printerClosed && !failed() && unacknowledgedBytes(m_end) == 0;
}

void NetworkLink::readEnd()
{
    if (m_printerClosed || failed())
        return;
    switch (dropIncoming(m_end)) {
    case PeerEnd::Open:
        return;
    case PeerEnd::Closed:
        m_printerClosed = true;
        break;
    case PeerEnd::Reset:
        m_errorText = LinkTexts::reset(m_address.text());
        break;
    }
    m_endWatch->setEnabled(false);
}

void NetworkLink::releaseEnd()
{
    m_endWatch.reset();
    closeSocket(m_end);
    m_end = -1;
}

int NetworkLink::backlog() const
{
    if (m_end >= 0)
        return int(qMin<qint64>(unacknowledgedBytes(m_end), INT_MAX));
    return int(qMin<qint64>(
        m_socket.bytesToWrite() + unacknowledgedBytes(m_socket.socketDescriptor()), INT_MAX));
}

void NetworkLink::write(const QByteArray &bytes)
{
    if (failed())
        return;
    if (m_socket.state() != QAbstractSocket::ConnectedState) {
        m_errorText = LinkTexts::closed(m_address.text());
        return;
    }
    // Straight on to the kernel where it has room; the rest leaves as the event loop runs.
    m_socket.write(bytes);
    m_socket.flush();
}

QByteArray NetworkLink::takeAnswers()
{
    return m_socket.read(AnswerWindow);
}

void NetworkLink::onError(QAbstractSocket::SocketError error)
{
    // The printer's close before the stream's end is a loss too: Qt cannot tell it from a reset.
    if (failed())
        return;
    const QString address = m_address.text();
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        m_errorText = LinkTexts::refused(address, m_address.port);
        break;
    case QAbstractSocket::HostNotFoundError:
        m_errorText = LinkTexts::hostNotFound(m_address.host);
        break;
    case QAbstractSocket::NetworkError:
        m_errorText = LinkTexts::noRoute(address, m_socket.errorString());
        break;
    case QAbstractSocket::SocketTimeoutError:
        m_errorText = LinkTexts::timedOut(address, m_connectLimit);
        break;
    case QAbstractSocket::RemoteHostClosedError:
        m_closedByPrinter = true;
        m_errorText = LinkTexts::closed(address);
        break;
    default:
        m_errorText = LinkTexts::networkFailed(address, m_socket.errorString());
        break;
    }
}

bool NetworkLink::waitUntil(const std::function<bool()> &done, std::chrono::milliseconds limit)
{
    if (done() || stopRequested())
        return done();
    QEventLoop loop;
    QTimer limitTimer;
    limitTimer.setSingleShot(true);
    QObject::connect(&limitTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto check = [&] {
        if (done() || stopRequested())
            loop.quit();
    };
    QObject::connect(&m_socket, &QAbstractSocket::stateChanged, &loop, check);
    QObject::connect(&m_socket, &QAbstractSocket::errorOccurred, &loop, check);
    QObject::connect(&m_socket, &QIODevice::readyRead, &loop, check);
    QObject::connect(&m_socket, &QIODevice::bytesWritten, &loop, check);
    // Acknowledgements and the link's own descriptor raise no signal of the socket.
    QTimer pollTimer;
    QObject::connect(&pollTimer, &QTimer::timeout, &loop, check);
    pollTimer.start(20);
    limitTimer.start(limit);
    loop.exec();
    return done();
}
