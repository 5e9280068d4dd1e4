#pragma once

#include <poll.h>

#include <chrono>

// SIGINT and SIGTERM end the printer. They are blocked except inside wait(), so a signal
// can never slip in between checking requested() and going to sleep.
namespace StopSignal {

void install();
bool requested();

// poll() that a stop signal cuts short; Forever waits without a time limit.
constexpr std::chrono::nanoseconds Forever = std::chrono::nanoseconds::max();
int wait(pollfd *fds, nfds_t count, std::chrono::nanoseconds timeout);

} // namespace StopSignal
