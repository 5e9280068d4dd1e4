#include "Transport.h"

#include "StopSignal.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what),
                                        QString::fromLocal8Bit(strerror(errno)));
}

class Fd
{
public:
    explicit Fd(int fd = -1)
        : m_fd(fd)
    {}
    Fd(const Fd &) = delete;
    Fd &operator=(const Fd &) = delete;
    ~Fd() { reset(); }
    void reset(int fd = -1)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool waitReadable(int fd, std::chrono::nanoseconds timeout)
{
    pollfd entry{fd, POLLIN, 0};
    return StopSignal::wait(&entry, 1, timeout) > 0;
}

// The slave is not held open, so a client closing it hangs up the master: that ends its
// stream. The hang-up lasts until the next client opens the slave.
class PtyTransport : public Transport
{
public:
    QString address() const override { return m_path; }
    bool waitForData(std::chrono::nanoseconds timeout) override
    {
        if (m_hungUp && !waitForClient(timeout))
            return false;
        return waitReadable(m_master.get(), timeout);
    }
    qint64 read(char *buffer, qint64 max) override
    {
        const ssize_t got = ::read(m_master.get(), buffer, size_t(max));
        if (got > 0)
            return got;
        // EIO once the client has closed the slave and every byte it wrote has been read.
        if (got < 0 && errno == EIO) {
            m_hungUp = true;
            return 0;
        }
        return -1;
    }
    void write(QByteArrayView bytes) override
    {
        if (!m_hungUp)
            static_cast<void>(::write(m_master.get(), bytes.data(), size_t(bytes.size())));
    }
    void pause(std::chrono::nanoseconds time) override { StopSignal::wait(nullptr, 0, time); }

    Fd m_master;
    QString m_path;

private:
    // poll() reports the hang-up at once for as long as it lasts, so it is polled in steps.
    bool waitForClient(std::chrono::nanoseconds timeout)
    {
        using namespace std::chrono_literals;
        const auto start = std::chrono::steady_clock::now();
        while (!StopSignal::requested()) {
            pollfd entry{m_master.get(), POLLIN, 0};
            // A client that came and went meanwhile leaves its bytes before the hang-up.
            if (::poll(&entry, 1, 0) >= 0 &&
                ((entry.revents & POLLIN) || !(entry.revents & POLLHUP))) {
                m_hungUp = false;
                return true;
            }
            const auto waited = std::chrono::steady_clock::now() - start;
            if (timeout != StopSignal::Forever && waited >= timeout)
                return false;
            StopSignal::wait(nullptr, 0,
                             timeout == StopSignal::Forever
                                 ? 20ms
                                 : std::min<std::chrono::nanoseconds>(20ms, timeout - waited));
        }
        return false;
    }

    bool m_hungUp = false;
};

class TcpTransport : public Transport
{
public:
    QString address() const override { return QStringLiteral("%1:%2").arg(m_host).arg(m_port); }
    bool waitForData(std::chrono::nanoseconds timeout) override
    {
        const auto start = std::chrono::steady_clock::now();
        for (;;) {
            pollfd entries[] = {{m_client.get(), POLLIN, 0}, {waitingListener(), POLLIN, 0}};
            std::chrono::nanoseconds left = timeout;
            if (timeout != StopSignal::Forever)
                left = std::max(timeout - (std::chrono::steady_clock::now() - start),
                                std::chrono::nanoseconds::zero());
            if (StopSignal::wait(entries, 2, left) <= 0)
                return false;
            // A client streaming without a pause still leaves the next one no time in the
            // backlog.
            if (entries[1].revents & POLLIN)
                acceptOrRefuse();
            if (entries[0].revents != 0)
                return true;
        }
    }
    qint64 read(char *buffer, qint64 max) override
    {
        const ssize_t got = ::recv(m_client.get(), buffer, size_t(max), 0);
        if (got > 0)
            return got;
        if (got == 0 || (errno != EAGAIN && errno != EINTR)) {
            m_client.reset();
            return 0;
        }
        return -1;
    }
    void write(QByteArrayView bytes) override
    {
        if (m_client.get() >= 0)
            ::send(m_client.get(), bytes.data(), size_t(bytes.size()), MSG_NOSIGNAL);
    }
    void pause(std::chrono::nanoseconds time) override
    {
        const auto end = std::chrono::steady_clock::now() + time;
        while (!StopSignal::requested()) {
            const auto left = end - std::chrono::steady_clock::now();
            if (left <= std::chrono::nanoseconds::zero())
                return;
            pollfd entry{waitingListener(), POLLIN, 0};
            if (StopSignal::wait(&entry, 1, left) > 0 && (entry.revents & POLLIN))
                acceptOrRefuse();
        }
    }

    Fd m_listener;
    Fd m_client;
    QString m_host;
    quint16 m_port = 0;

private:
    // The listener while a newcomer is to be served or turned away; -1 (which poll() skips)
    // while a client that has sent its last byte is leaving: the next one waits its turn.
    int waitingListener() const
    {
        const bool leaving = m_client.get() >= 0 && hasHungUp(m_client.get());
        return leaving ? -1 : m_listener.get();
    }

    static bool hasHungUp(int fd)
    {
        pollfd entry{fd, POLLRDHUP, 0};
        return ::poll(&entry, 1, 0) > 0 && (entry.revents & POLLRDHUP);
    }

    // One connection at a time, as many network printers take: another while one is open is
    // closed at once.
    void acceptOrRefuse()
    {
        // A client may have hung up since the poll: it is served out first, the newcomer
        // waits in the backlog.
        if (waitingListener() < 0)
            return;
        const int incoming =
            accept4(m_listener.get(), nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (incoming < 0)
            return;
        if (m_client.get() >= 0)
            ::close(incoming);
        else
            m_client.reset(incoming);
    }
};

} // namespace

OpenedTransport openPty()
{
    auto pty = std::make_unique<PtyTransport>();
    pty->m_master.reset(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC));
    const int master = pty->m_master.get();
    if (master < 0)
        return {nullptr, systemError("posix_openpt")};
    if (grantpt(master) != 0 || unlockpt(master) != 0)
        return {nullptr, systemError("grantpt/unlockpt")};
    char path[128];
    if (ptsname_r(master, path, sizeof path) != 0)
        return {nullptr, systemError("ptsname")};
    pty->m_path = QString::fromLocal8Bit(path);

    // Raw, so no byte of the binary stream is translated or echoed.
    termios settings{};
    if (tcgetattr(master, &settings) != 0)
        return {nullptr, systemError("tcgetattr")};
    cfmakeraw(&settings);
    if (tcsetattr(master, TCSANOW, &settings) != 0)
        return {nullptr, systemError("tcsetattr")};
    return {std::move(pty), {}};
}

OpenedTransport openTcp(quint16 port, quint32 loopbackAddress, int receiveBuffer)
{
    auto tcp = std::make_unique<TcpTransport>();
    tcp->m_listener.reset(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    const int listener = tcp->m_listener.get();
    if (listener < 0)
        return {nullptr, systemError("socket")};
    const int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);

    // Set before listen(), so each accepted connection has it and offers no larger window.
    if (receiveBuffer > 0)
        setsockopt(listener, SOL_SOCKET, SO_RCVBUF, &receiveBuffer, sizeof receiveBuffer);

    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(loopbackAddress);
    if (bind(listener, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0)
        return {nullptr, systemError("bind")};
    if (listen(listener, 4) != 0)
        return {nullptr, systemError("listen")};
    socklen_t length = sizeof address;
    getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    tcp->m_port = ntohs(address.sin_port);
    tcp->m_host = dottedAddress(loopbackAddress);
    return {std::move(tcp), {}};
}
