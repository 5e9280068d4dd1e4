#pragma once

#include <windows.h>

#include <chrono>
#include <cstddef>
#include <string>

// A printer port (LPT1:) opened for raw byte output through Win32 alone.

struct ParallelPortOpen
{
    HANDLE handle = INVALID_HANDLE_VALUE;
    DWORD error = ERROR_SUCCESS; // GetLastError() of a refused open
};

struct ParallelPortWrite
{
    std::size_t written = 0;
    DWORD error = ERROR_SUCCESS; // GetLastError() of a refused write
    bool stalled = false;        // the port took no byte for the stall limit
};

ParallelPortOpen openParallelPort(const std::wstring &device);

// Writes every byte, in order, until the port refuses them or takes none for stallLimit.
ParallelPortWrite writeParallelPort(HANDLE port, const char *data, std::size_t size,
                                    std::chrono::milliseconds stallLimit);

void closeParallelPort(HANDLE port);
