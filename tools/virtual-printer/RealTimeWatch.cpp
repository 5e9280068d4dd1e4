#include "RealTimeWatch.h"

#include <algorithm>

void RealTimeWatch::scan(QByteArrayView bytes, const std::function<void(int n)> &found)
{
    for (const char byte : bytes) {
        if (take(byte))
            found(byte);
    }
}

qsizetype RealTimeWatch::upToNextRequest(QByteArrayView bytes) const
{
    RealTimeWatch ahead = *this;
    for (qsizetype taken = 0; taken < bytes.size(); ++taken) {
        if (ahead.take(bytes[taken]))
            return taken + 1;
    }
    return bytes.size();
}

bool RealTimeWatch::take(char byte)
{
    const bool request =
        m_seen == 2 && m_last[0] == 0x10 && m_last[1] == 0x04 && byte >= 1 && byte <= 4;
    m_last[0] = m_last[1];
    m_last[1] = byte;
    m_seen = std::min(m_seen + 1, 2);
    return request;
}
