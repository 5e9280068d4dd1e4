#pragma once

#include <QtGlobal>

#include <chrono>

// Token bucket that lets the reader take no more than a serial line at a given baud rate
// delivers: baud / 10 bytes per second (8 data bits, start and stop bit). The bucket holds
// 50 ms of line time, so late wake-ups do not slow the long-run rate.
class Pacer
{
public:
    using Clock = std::chrono::steady_clock;

    // baud 0: no limit.
    explicit Pacer(int baud = 0);

    // Bytes that may be read at time now.
    qint64 allowance(Clock::time_point now);
    void consume(qint64 bytes);
    // How long to wait after allowance() returned 0 before reading is worth while.
    Clock::duration refillTime() const;

private:
    double m_rate = 0;     // bytes per second
    double m_capacity = 0; // bytes
    double m_tokens = 0;
    Clock::time_point m_last{};
    bool m_started = false;
};
