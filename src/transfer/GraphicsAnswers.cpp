#include "GraphicsAnswers.h"

namespace {

constexpr char Header = 0x37;
constexpr int MaxDigits = 8;

bool isDigit(char byte)
{
    return byte >= '0' && byte <= '9';
}

} // namespace

HeaderAnswerScanner::HeaderAnswerScanner(char identifier)
    : m_identifier(identifier)
{}

void HeaderAnswerScanner::feed(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        switch (m_state) {
        case State::Found:
        case State::Malformed:
            return;
        case State::Seeking:
            if (m_afterHeader && byte == m_identifier) {
                m_state = State::Reading;
                m_noise = {};
            }
            m_afterHeader = byte == Header && m_state == State::Seeking;
            break;
        case State::Reading: {
            const bool fit = fits(byte);
            // Before the NUL test: an ASB block carries NULs of its own.
            if (m_noise.skips(byte, fit))
                break;
            if (byte == '\0')
                m_state = finish() ? State::Found : State::Malformed;
            else if (!fit || !take(byte))
                m_state = State::Malformed;
            break;
        }
        }
    }
}

void HeaderAnswerScanner::seekAgain()
{
    m_state = State::Seeking;
    m_afterHeader = false;
}

StoreFigureScanner::StoreFigureScanner(StoreFigure figure)
    : HeaderAnswerScanner(char(figure))
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
    if (m_digits == MaxDigits || (m_previous == Header && byte == m_identifier))
        return false;
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
    : HeaderAnswerScanner(0x72)
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
