#include "PrinterPool.h"

#include <QThread>

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

void runPrinterPool(int count, int jobs, const std::function<void(int index)> &job,
                    const std::function<bool()> &stopStarting, const std::function<void()> &tick)
{
    std::mutex mutex;
    std::condition_variable ended;
    int running = 0;
    int started = 0;
    std::vector<std::unique_ptr<QThread>> threads;
    for (;;) {
        {
            std::unique_lock lock(mutex);
            const bool mayStart = !stopStarting() && started < count;
            if (!mayStart && running == 0)
                break;
            if (!mayStart || running >= jobs)
                ended.wait_for(lock, std::chrono::milliseconds(100));
        }
        tick();
        // A finished job's thread is let go at once: a scan may run thousands of jobs.
        std::erase_if(threads,
                      [](const auto &thread) { return thread->isFinished() && thread->wait(); });
        std::unique_lock lock(mutex);
        while (running < jobs && started < count && !stopStarting()) {
            const int index = started++;
            ++running;
            threads.emplace_back(QThread::create([&, index] {
                job(index);
                const std::lock_guard done(mutex);
                --running;
                ended.notify_one();
            }));
            threads.back()->start();
        }
    }
    for (const auto &thread : threads)
        thread->wait();
    tick();
}
