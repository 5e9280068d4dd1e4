#include "StopSignals.h"

#include "Terminal.h"

#include <atomic>
#include <csignal>

namespace {

std::atomic<bool> signalled{false};
static_assert(std::atomic<bool>::is_always_lock_free);

void onStopSignal(int)
{
    signalled = true;
    // Whoever asks twice does not wait for the printers: the second ends the program.
    std::signal(SIGINT, SIG_DFL);
    std::signal(SIGTERM, SIG_DFL);
}

} // namespace

void catchStopSignals()
{
    catchTerminalSignals(onStopSignal);
}

bool stopSignalled()
{
    return signalled;
}
