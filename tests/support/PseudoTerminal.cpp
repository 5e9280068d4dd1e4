#include "PseudoTerminal.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PseudoTerminal::PseudoTerminal()
{
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return;
    // Programs a test starts must not keep the line up after closeMaster().
    ::fcntl(master, F_SETFD, FD_CLOEXEC);
    termios raw{};
    const char *name = nullptr;
    if (::grantpt(master) != 0 || ::unlockpt(master) != 0 || ::tcgetattr(master, &raw) != 0 ||
        (name = ::ptsname(master)) == nullptr) {
        ::close(master);
        return;
    }
    ::cfmakeraw(&raw);
    ::tcsetattr(master, TCSANOW, &raw);
    m_master = master;
    m_slavePath = QString::fromLocal8Bit(name);
}

PseudoTerminal::~PseudoTerminal()
{
    closeMaster();
}

QByteArray PseudoTerminal::read(qsizetype count, std::chrono::milliseconds stall) const
{
    QByteArray bytes;
    char chunk[4096];
    while (bytes.size() < count) {
        pollfd ready{m_master, POLLIN, 0};
        const int polled = ::poll(&ready, 1, static_cast<int>(stall.count()));
        if (polled < 0 && errno == EINTR)
            continue;
        if (polled <= 0)
            break;
        const ssize_t got =
            ::read(m_master, chunk,
                   static_cast<size_t>(std::min<qsizetype>(static_cast<qsizetype>(sizeof chunk),
                                                           count - bytes.size())));
        if (got < 0 && errno == EINTR)
            continue;
        // EIO: the slave side has been closed and everything it wrote has been read.
        if (got <= 0)
            break;
        bytes.append(chunk, got);
    }
    return bytes;
}

void PseudoTerminal::closeMaster()
{
    if (m_master < 0)
        return;
    ::close(m_master);
    m_master = -1;
}
