#include "ParallelPort_win.h"

#include <algorithm>

namespace {

// Small enough that a printer still taking bytes never trips the write time-out.
constexpr DWORD writeChunk = 4096;

// Each write returns after at most this long, so that the stall limit is measured from the last
// byte taken: a write the port's own time-out ended may already hold the stall's first part.
constexpr DWORD writeStepMs = 100;

} // namespace

ParallelPortOpen openParallelPort(const std::wstring &device)
{
    const HANDLE handle = CreateFileW(device.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return {INVALID_HANDLE_VALUE, GetLastError()};
    // A write time-out, as the spooler's local port monitor sets one, so that a printer that
    // takes nothing ends a write instead of holding it for good; a handle that is no port keeps
    // its own behaviour.
    COMMTIMEOUTS timeouts = {};
    timeouts.WriteTotalTimeoutConstant = writeStepMs;
    SetCommTimeouts(handle, &timeouts);
    return {handle, ERROR_SUCCESS};
}

ParallelPortWrite writeParallelPort(HANDLE port, const char *data, std::size_t size,
                                    std::chrono::milliseconds stallLimit)
{
    using Clock = std::chrono::steady_clock;
    COMMTIMEOUTS timeouts = {};
    // Without a time-out of ours, a write that takes nothing is the device's own refusal.
    const bool timed = GetCommTimeouts(port, &timeouts) && timeouts.WriteTotalTimeoutConstant != 0;

    ParallelPortWrite result;
    Clock::time_point lastProgress = Clock::now();
    while (result.written < size) {
        const DWORD chunk = DWORD(std::min<std::size_t>(size - result.written, writeChunk));
        DWORD written = 0;
        if (!WriteFile(port, data + result.written, chunk, &written, nullptr)) {
            result.error = GetLastError();
            return result;
        }
        if (written > 0) {
            result.written += written;
            lastProgress = Clock::now();
            continue;
        }
        if (!timed) {
            result.error = ERROR_WRITE_FAULT;
            return result;
        }
        if (Clock::now() - lastProgress >= stallLimit) {
            result.stalled = true;
            return result;
        }
    }
    return result;
}

void closeParallelPort(HANDLE port)
{
    CloseHandle(port);
}
