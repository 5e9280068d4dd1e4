#include "RealTimeWatch.h"

void RealTimeWatch::scan(QByteArrayView bytes, const std::function<void(int n)> &found)
{
    for (const char byte : bytes) {
        if (m_seen == 2 && m_last[0] == 0x10 && m_last[1] == 0x04 && byte >= 1 && byte <= 4)
            found(byte);
        m_last[0] = m_last[1];
        m_last[1] = byte;
        m_seen = std::min(m_seen + 1, 2);
    }
}
