#include "Pacer.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = Pacer::Clock;

// Drains `total` bytes as the printer's read loop does, on a simulated clock whose sleeps
// wake up to 3 ms late; returns the simulated seconds it took.
double drain(int baud, qint64 total, qint64 chunk)
{
    Pacer pacer(baud);
    QRandomGenerator lateness(3);
    Clock::time_point now{};
    qint64 read = 0;
    while (read < total) {
        const qint64 allowed = pacer.allowance(now);
        if (allowed == 0) {
            now += pacer.refillTime() + std::chrono::microseconds(lateness.bounded(3000));
            continue;
        }
        const qint64 got = std::min({allowed, chunk, total - read});
        pacer.consume(got);
        read += got;
    }
    return std::chrono::duration<double>(now - Clock::time_point{}).count();
}

TEST(Pacer, LongRunsKeepTheLineRate)
{
    // 115200 baud moves 11520 bytes a second; the bucket's first 50 ms come free.
    EXPECT_NEAR(drain(115200, 262208, 4096), 262208 / 11520.0 - 0.05, 0.03);
    EXPECT_NEAR(drain(9600, 2000, 64), 2000 / 960.0 - 0.05, 0.03);
}

TEST(Pacer, AnIdleLineBanksNoMoreThanFiftyMilliseconds)
{
    Pacer pacer(115200);
    const Clock::time_point start{};
    pacer.consume(pacer.allowance(start));
    EXPECT_EQ(pacer.allowance(start + 10s), 576);
    EXPECT_EQ(pacer.refillTime(), Clock::duration::zero());
}

TEST(Pacer, NoBaudRateMeansNoLimit)
{
    Pacer pacer;
    EXPECT_GE(pacer.allowance(Clock::time_point{}), qint64(1) << 40);
    EXPECT_EQ(pacer.refillTime(), Clock::duration::zero());
}

} // namespace
