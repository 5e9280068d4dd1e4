#include "EventLoopYield.h"

#include <QCoreApplication>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

TEST(EventLoopYield, RunsPendingEventsAndReturnsWhenNoneCome)
{
    int ran = 0;
    QTimer::singleShot(0, qApp, [&] { ++ran; });
    yieldToEventLoop();
    EXPECT_EQ(ran, 1);

    // Nothing is pending now: the bound ends the wait.
    yieldToEventLoop();
    EXPECT_EQ(ran, 1);
}

} // namespace
