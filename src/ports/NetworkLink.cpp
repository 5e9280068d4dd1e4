#include "NetworkLink.h"

#include "LinkTexts.h"
#include "SocketPlatform.h"

#include <QEventLoop>
#include <QTimer>
#include <QtGlobal>

#include <climits>

NetworkLink::NetworkLink(NetworkAddress address, std::chrono::milliseconds connectLimit)
    : m_address(std::move(address))
    , m_connectLimit(connectLimit)
{
    // Qt stops reading the socket once this much waits, so a flood waits in the kernel instead.
    m_socket.setReadBufferSize(AnswerWindow);
    QObject::connect(&m_socket, &QAbstractSocket::errorOccurred, &m_socket,
                     [this](QAbstractSocket::SocketError error) { onError(error); });
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
        m_errorText = LinkTexts::timedOut(m_address.text(), m_connectLimit);
    // Nothing was sent, so nothing is lost by dropping the attempt.
    m_socket.abort();
    return false;
}

bool NetworkLink::close()
{
    m_closing = true;
    if (m_socket.state() == QAbstractSocket::ConnectedState) {
        m_socket.flush();
        waitUntil([this] { return m_socket.bytesToWrite() == 0 || failed(); }, CloseLimit);
        if (m_socket.bytesToWrite() == 0)
            shutdownWriting(m_socket.socketDescriptor());
        // Whatever the printer still says is read and dropped as it comes.
        waitUntil(
            [this] {
                m_socket.readAll();
                return m_socket.state() == QAbstractSocket::UnconnectedState;
            },
            CloseLimit);
        m_socket.readAll();
    }
    // Bytes Qt still held were never handed on: they fail the job.
    if (m_socket.bytesToWrite() > 0 && !failed())
        m_errorText = LinkTexts::notHandedOn(m_socket.bytesToWrite(), m_address.text());
    m_socket.close();
    return true;
}

int NetworkLink::backlog() const
{
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
    const bool printerClosed = error == QAbstractSocket::RemoteHostClosedError;
    if (failed() || (m_closing && printerClosed))
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
    if (done())
        return true;
    QEventLoop loop;
    QTimer limitTimer;
    limitTimer.setSingleShot(true);
    QObject::connect(&limitTimer, &QTimer::timeout, &loop, &QEventLoop::quit);
    const auto check = [&] {
        if (done())
            loop.quit();
    };
    QObject::connect(&m_socket, &QAbstractSocket::stateChanged, &loop, check);
    QObject::connect(&m_socket, &QAbstractSocket::errorOccurred, &loop, check);
    QObject::connect(&m_socket, &QIODevice::readyRead, &loop, check);
    QObject::connect(&m_socket, &QIODevice::bytesWritten, &loop, check);
    limitTimer.start(limit);
    loop.exec();
    return done();
}
