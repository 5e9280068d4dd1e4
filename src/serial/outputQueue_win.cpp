#include "SerialPlatform.h"

#include <qt_windows.h>

qint64 driverOutputQueue(const QSerialPort &port)
{
    COMSTAT status = {};
    DWORD errors = 0;
    if (!::ClearCommError(port.handle(), &errors, &status))
        return 0;
    return status.cbOutQue;
}

void discardDriverOutput(const QSerialPort &port)
{
    ::PurgeComm(port.handle(), PURGE_TXABORT | PURGE_TXCLEAR);
}
