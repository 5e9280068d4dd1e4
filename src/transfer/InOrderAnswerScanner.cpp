#include "InOrderAnswerScanner.h"

namespace {

// Longer than any answer a printer gives to these questions.
constexpr qsizetype MaxMiddle = 1024;

} // namespace

InOrderAnswerScanner::InOrderAnswerScanner(QByteArrayView header, Match matches)
    : HeaderAnswerScanner(header)
    , m_matches(std::move(matches))
{}

bool InOrderAnswerScanner::fits(char) const
{
    // Every byte is taken, so that a foreign one restarts the scan instead of ending it.
    return true;
}

bool InOrderAnswerScanner::take(char byte)
{
    if (byte < 0x20 || byte > 0x7E || m_middle.size() == MaxMiddle)
        restart();
    else
        m_middle.append(byte);
    return true;
}

bool InOrderAnswerScanner::finish()
{
    if (m_matches(m_middle))
        return true;
    restart();
    return false;
}

void InOrderAnswerScanner::restart()
{
    m_middle.clear();
    seekAgain();
}
