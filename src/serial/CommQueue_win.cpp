#include "CommQueue_win.h"

CommQueue commOutputQueue(HANDLE port)
{
    COMSTAT status = {};
    DWORD errors = 0;
    if (!ClearCommError(port, &errors, &status))
        return {0, GetLastError()};
    return {status.cbOutQue, ERROR_SUCCESS};
}

DWORD discardCommOutput(HANDLE port)
{
    return PurgeComm(port, PURGE_TXABORT | PURGE_TXCLEAR) ? ERROR_SUCCESS : GetLastError();
}
