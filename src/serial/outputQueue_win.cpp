#include "CommQueue_win.h"
#include "SerialPlatform.h"

qint64 driverOutputQueue(const QSerialPort &port)
{
    const CommQueue queue = commOutputQueue(port.handle());
    return queue.error == ERROR_SUCCESS ? queue.queued : 0;
}

void discardDriverOutput(const QSerialPort &port)
{
    discardCommOutput(port.handle());
}
