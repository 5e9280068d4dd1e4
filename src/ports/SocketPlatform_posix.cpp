#include "SocketPlatform.h"

#include <cerrno>
#include <fcntl.h>
#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

void shutdownWriting(qintptr socket)
{
    ::shutdown(int(socket), SHUT_WR);
}

qint64 unacknowledgedBytes(qintptr socket)
{
    int queued = 0;
    if (socket < 0 || ::ioctl(int(socket), SIOCOUTQ, &queued) == -1)
        return 0;
    return queued;
}

qintptr duplicateSocket(qintptr socket)
{
    return socket < 0 ? -1 : ::fcntl(int(socket), F_DUPFD_CLOEXEC, 0);
}

void closeSocket(qintptr socket)
{
    if (socket >= 0)
        ::close(int(socket));
}

PeerEnd dropIncoming(qintptr socket)
{
    // A peer that never stops sending gets a bounded share of each call.
    char buffer[4096];
    for (int reads = 0; reads < 16; ++reads) {
        const ssize_t got = ::recv(int(socket), buffer, sizeof buffer, MSG_DONTWAIT);
        if (got > 0)
            continue;
        if (got == 0)
            return PeerEnd::Closed;
        if (errno == EINTR)
            continue;
        return errno == EAGAIN || errno == EWOULDBLOCK ? PeerEnd::Open : PeerEnd::Reset;
    }
    return PeerEnd::Open;
}
