#include "SocketPlatform.h"

#include <winsock2.h>

void shutdownWriting(qintptr socket)
{
    ::shutdown(SOCKET(socket), SD_SEND);
}

qint64 unacknowledgedBytes(qintptr)
{
    return 0;
}
