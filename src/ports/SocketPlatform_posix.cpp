#include "SocketPlatform.h"

#include <linux/sockios.h>
#include <sys/ioctl.h>
#include <sys/socket.h>

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
