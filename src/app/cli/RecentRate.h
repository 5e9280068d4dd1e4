#pragma once

#include <QtGlobal>

#include <deque>
#include <optional>

// How fast the printer takes the stream lately. No rate until a whole window has passed since
// the first byte was taken: the first moments fill the printer's buffers and say nothing of
// its pace.
class RecentRate
{
public:
    static constexpr qint64 WindowMs = 3000;

    // bytes taken by the time ms.
    void add(qint64 ms, qint64 bytes);
    std::optional<double> bytesPerSecond() const;

private:
    struct Sample
    {
        qint64 ms;
        qint64 bytes;
    };
    // One sample at or before the window's start, then those inside it.
    std::deque<Sample> m_samples;
    qint64 m_firstMs = -1;
};
