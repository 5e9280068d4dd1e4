#include "Transport.h"

#include "StopSignal.h"

#include <winsock2.h>

namespace {

QString socketError(const char *what)
{
    return QStringLiteral("%1: Winsock error %2").arg(QLatin1String(what)).arg(WSAGetLastError());
}

class Socket
{
public:
    explicit Socket(SOCKET socket = INVALID_SOCKET)
        : m_socket(socket)
    {}
    Socket(const Socket &) = delete;
    Socket &operator=(const Socket &) = delete;
    ~Socket() { reset(); }
    void reset(SOCKET socket = INVALID_SOCKET)
    {
        if (m_socket != INVALID_SOCKET)
            closesocket(m_socket);
        m_socket = socket;
    }
    SOCKET get() const { return m_socket; }
    bool valid() const { return m_socket != INVALID_SOCKET; }

private:
    SOCKET m_socket;
};

class TcpTransport : public Transport
{
public:
    QString address() const override { return QStringLiteral("%1:%2").arg(m_host).arg(m_port); }
    bool waitForData(std::chrono::nanoseconds timeout) override
    {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            // Winsock has no POLLRDHUP: a client whose end is not read yet still counts as
            // present, so one arriving meanwhile is turned away.
            pollfd entries[2] = {{m_listener.get(), POLLRDNORM, 0},
                                 {m_client.get(), POLLRDNORM, 0}};
            const nfds_t count = m_client.valid() ? 2 : 1;
            std::chrono::nanoseconds left = timeout;
            if (timeout != StopSignal::Forever)
                left = std::max(timeout - (std::chrono::steady_clock::now() - start),
                                std::chrono::nanoseconds::zero());
            if (StopSignal::wait(entries, count, left) <= 0)
                return false;
            // A client streaming without a pause still leaves the next one no time in the
            // backlog.
            if (entries[0].revents & POLLRDNORM)
                acceptOrRefuse();
            if (count == 2 && entries[1].revents != 0)
                return true;
        }
    }
    qint64 read(char *buffer, qint64 max) override
    {
        const int got = ::recv(m_client.get(), buffer, int(std::min<qint64>(max, 1 << 30)), 0);
        if (got > 0)
            return got;
        if (got == 0 || WSAGetLastError() != WSAEWOULDBLOCK) {
            m_client.reset();
            return 0;
        }
        return -1;
    }
    void write(QByteArrayView bytes) override
    {
        if (m_client.valid())
            ::send(m_client.get(), bytes.data(), int(bytes.size()), 0);
    }
    void pause(std::chrono::nanoseconds time) override
    {
        const auto end = std::chrono::steady_clock::now() + time;
        while (!StopSignal::requested()) {
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::nanoseconds::zero())
                return;
            pollfd entry{m_listener.get(), POLLRDNORM, 0};
            if (StopSignal::wait(&entry, 1, left) > 0 && (entry.revents & POLLRDNORM))
                acceptOrRefuse();
        }
    }

    Socket m_listener;
    Socket m_client;
    QString m_host;
    quint16 m_port = 0;

private:
    // One connection at a time, as many network printers take: another while one is open is
    // closed at once. An accepted socket is non-blocking as the listener is.
    void acceptOrRefuse()
    {
        const SOCKET incoming = accept(m_listener.get(), nullptr, nullptr);
        if (incoming == INVALID_SOCKET)
            return;
        if (m_client.valid())
            closesocket(incoming);
        else
            m_client.reset(incoming);
    }
};

} // namespace

OpenedTransport openPty()
{
    return {nullptr, QStringLiteral("Windows has no pseudo-terminals: serve TCP with --tcp PORT")};
}

OpenedTransport openTcp(quint16 port, quint32 loopbackAddress, int receiveBuffer)
{
    WSADATA data;
    if (WSAStartup(MAKEWORD(2, 2), &data) != 0)
        return {nullptr, QStringLiteral("WSAStartup failed")};
    auto tcp = std::make_unique<TcpTransport>();
    tcp->m_listener.reset(socket(AF_INET, SOCK_STREAM, IPPROTO_TCP));
    const SOCKET listener = tcp->m_listener.get();
    if (listener == INVALID_SOCKET)
        return {nullptr, socketError("socket")};
    u_long nonBlocking = 1;
    if (ioctlsocket(listener, FIONBIO, &nonBlocking) != 0)
        return {nullptr, socketError("ioctlsocket")};

    // Set before listen(), so each accepted connection has it and offers no larger window.
    if (receiveBuffer > 0)
        setsockopt(listener, SOL_SOCKET, SO_RCVBUF, reinterpret_cast<const char *>(&receiveBuffer),
                   sizeof receiveBuffer);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(loopbackAddress);
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return {nullptr, socketError("bind")};
    if (listen(listener, 4) != 0)
        return {nullptr, socketError("listen")};
    int length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    tcp->m_port = ntohs(address.sin_port);
    tcp->m_host = dottedAddress(loopbackAddress);
    return {std::move(tcp), {}};
}
