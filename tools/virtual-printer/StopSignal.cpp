#include "StopSignal.h"

#include <algorithm>
#include <csignal>

namespace {
volatile std::sig_atomic_t stopRequested = 0;
sigset_t waitMask;

void onStopSignal(int)
{
    stopRequested = 1;
}
} // namespace

void StopSignal::install()
{
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    sigprocmask(SIG_BLOCK, &stopSignals, &waitMask);
    sigdelset(&waitMask, SIGINT);
    sigdelset(&waitMask, SIGTERM);

    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool StopSignal::requested()
{
    return stopRequested != 0;
}

int StopSignal::wait(pollfd *fds, nfds_t count, std::chrono::nanoseconds timeout)
{
    if (timeout == Forever)
        return ppoll(fds, count, nullptr, &waitMask);
    timeout = std::max(timeout, std::chrono::nanoseconds::zero());
    const auto seconds = std::chrono::floor<std::chrono::seconds>(timeout);
    const timespec limit{seconds.count(), (timeout - seconds).count()};
    return ppoll(fds, count, &limit, &waitMask);
}
