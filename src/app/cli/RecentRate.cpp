#include "RecentRate.h"

void RecentRate::add(qint64 ms, qint64 bytes)
{
    if (m_firstMs < 0) {
        if (bytes <= 0)
            return;
        m_firstMs = ms;
    }
    m_samples.push_back({ms, bytes});
    while (m_samples.size() > 2 && m_samples[1].ms <= ms - WindowMs)
        m_samples.pop_front();
}

std::optional<double> RecentRate::bytesPerSecond() const
{
    if (m_samples.size() < 2 || m_samples.back().ms - m_firstMs < WindowMs)
        return std::nullopt;
    const Sample &from = m_samples.front();
    const Sample &to = m_samples.back();
    return (to.bytes - from.bytes) * 1000.0 / double(to.ms - from.ms);
}
