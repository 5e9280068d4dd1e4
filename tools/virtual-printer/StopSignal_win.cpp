#include "StopSignal.h"

#include <windows.h>

#include <algorithm>
#include <atomic>

namespace {
std::atomic<bool> stopRequested{false};
HANDLE stopEvent = nullptr;

// Ctrl+C, Ctrl+Break and closing the console end the printer as SIGINT and SIGTERM do.
BOOL WINAPI onConsoleEvent(DWORD)
{
    stopRequested = true;
    SetEvent(stopEvent);
    return TRUE;
}

DWORD milliseconds(std::chrono::nanoseconds timeout)
{
    if (timeout == StopSignal::Forever)
        return INFINITE;
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(
        std::max(timeout, std::chrono::nanoseconds::zero()));
    return DWORD(std::min<std::chrono::milliseconds::rep>(ms.count(), INFINITE - 1));
}
} // namespace

void StopSignal::install()
{
    stopEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

bool StopSignal::requested()
{
    return stopRequested;
}

int StopSignal::wait(pollfd *fds, nfds_t count, std::chrono::nanoseconds timeout)
{
    if (count == 0)
        return WaitForSingleObject(stopEvent, milliseconds(timeout)) == WAIT_OBJECT_0 ? -1 : 0;
    // WSAPoll does not wake for the console's events: it waits in slices short enough that
    // a stop is seen at once to a person.
    using namespace std::chrono_literals;
    const auto deadline =
        std::chrono::steady_clock::now() + std::min<std::chrono::nanoseconds>(timeout, 24h);
    for (;;) {
        if (requested())
            return -1;
        const auto left = deadline - std::chrono::steady_clock::now();
        const int ready = WSAPoll(
            fds, count, int(milliseconds(std::clamp<std::chrono::nanoseconds>(left, 0ns, 50ms))));
        if (ready != 0 || left <= 0ns)
            return ready;
    }
}
