#pragma once

#include <functional>

// The one place where printers are served at once. Runs job(index) for index 0 to count - 1,
// at most `jobs` at a time, each on a thread of its own with its own event loop, so that each
// job may open its link and wait on it as a single job does. tick() runs on the caller's
// thread between starts and ends (at least every 100 ms); once stopStarting() holds, no job is
// started any more and the running ones are awaited.
void runPrinterPool(int count, int jobs, const std::function<void(int index)> &job,
                    const std::function<bool()> &stopStarting, const std::function<void()> &tick);
