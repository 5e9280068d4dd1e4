#pragma once

#include <windows.h>

// The transmit side of an open COM port handle (CommPort's).

struct CommQueue
{
    DWORD queued = 0;            // bytes the driver holds and has not sent
    DWORD error = ERROR_SUCCESS; // GetLastError() when the driver could not say
};

CommQueue commOutputQueue(HANDLE port);

// Aborts writes in progress and throws away what the driver holds; the Win32 error, or
// ERROR_SUCCESS.
DWORD discardCommOutput(HANDLE port);
