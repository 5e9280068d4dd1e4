#include "EventLoopYield.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

#include <chrono>

void yieldToEventLoop()
{
    using namespace std::chrono_literals;
    QCoreApplication::processEvents();
    // The timer is the upper bound: its own event ends the wait when nothing else comes.
    QTimer bound;
    bound.setSingleShot(true);
    bound.setTimerType(Qt::PreciseTimer);
    bound.start(2ms);
    QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
