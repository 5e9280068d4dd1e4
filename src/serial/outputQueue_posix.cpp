#include "QtSerialPlatform.h"

#include <sys/ioctl.h>
#include <termios.h>

qint64 driverOutputQueue(const QSerialPort &port)
{
    int queued = 0;
    if (::ioctl(port.handle(), TIOCOUTQ, &queued) == -1)
        return 0;
    return queued;
}

void discardDriverOutput(const QSerialPort &port)
{
    ::tcflush(port.handle(), TCOFLUSH);
}
