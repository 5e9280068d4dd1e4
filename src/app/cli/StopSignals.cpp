#include "StopSignals.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onStopSignal(int)
{
    signalled = true;
}

} // namespace

void catchStopSignals()
{
    std::signal(SIGINT, onStopSignal);
    std::signal(SIGTERM, onStopSignal);
}

bool stopSignalled()
{
    return signalled;
}
