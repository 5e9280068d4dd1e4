#include "GraphicsAnswers.h"

namespace {

constexpr char Header = 0x37;
constexpr int MaxDigits = 8;

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

} // namespace

StoreFigureScanner::StoreFigureScanner(StoreFigure figure)
    : HeaderAnswerScanner(QByteArray(1, Header) + char(figure))
    , m_identifier(char(figure))
{}

std::optional<qint64> StoreFigureScanner::figure() const
{
    return found() ? std::optional<qint64>(m_value) : std::nullopt;
}

bool StoreFigureScanner::fits(char byte) const
{
    return isDigit(byte);
}

bool StoreFigureScanner::take(char byte)
{
    if (m_digits == MaxDigits)
        return false;
    m_ambiguous = m_ambiguous || (m_previous == Header && byte == m_identifier);
    m_value = m_value * 10 + (byte - '0');
    ++m_digits;
    m_previous = byte;
    return true;
}

bool StoreFigureScanner::finish()
{
    return m_digits > 0;
}

KeyListScanner::KeyListScanner()
    : HeaderAnswerScanner("\x37\x72")
{}

void KeyListScanner::nextBlock()
{
    m_status = 0;
    m_keys.clear();
    m_half.clear();
    seekAgain();
}

bool KeyListScanner::fits(char byte) const
{
    if (m_status == 0)
        return byte == LastBlock || byte == MoreBlocks;
    return byte >= 32 && byte <= 126;
}

bool KeyListScanner::take(char byte)
{
    if (m_status == 0) {
        m_status = byte;
        return true;
    }
    if (m_half.isEmpty()) {
        m_half = QByteArray(1, byte);
        return true;
    }
    if (m_total == MaxKeys) {
        m_tooLong = true;
        return false;
    }
    m_keys.append(m_half + byte);
    m_half.clear();
    ++m_total;
    return true;
}

bool KeyListScanner::finish()
{
    return m_status != 0 && m_half.isEmpty();
}
