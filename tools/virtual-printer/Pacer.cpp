#include "Pacer.h"

#include <algorithm>
#include <cmath>
#include <limits>

Pacer::Pacer(int baud)
    : m_rate(baud / 10.0)
    , m_capacity(std::max(1.0, m_rate / 20))
    , m_tokens(m_capacity)
{}

qint64 Pacer::allowance(Clock::time_point now)
{
    if (m_rate <= 0)
        return std::numeric_limits<qint64>::max();
    if (m_started) {
        const std::chrono::duration<double> elapsed = now - m_last;
        m_tokens = std::min(m_capacity, m_tokens + elapsed.count() * m_rate);
    }
    m_started = true;
    m_last = now;
    return qint64(std::floor(m_tokens));
}

void Pacer::consume(qint64 bytes)
{
    if (m_rate > 0)
        m_tokens -= bytes;
}

Pacer::Clock::duration Pacer::refillTime() const
{
    if (m_rate <= 0)
        return {};
    // Waiting for half a bucket keeps the number of wake-ups low without losing tokens.
    const double wanted = std::max(1.0, m_capacity / 2) - m_tokens;
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(std::max(0.0, wanted) / m_rate));
}
