#include "AnswerScanner.h"

namespace {

constexpr char Xon = 0x11;
constexpr char Xoff = 0x13;
constexpr int AsbBlockSize = 4;

// First byte 0xx1xx00; a DLE EOT answer (0xx1xx10) differs in bit 1.
bool startsAsbBlock(char byte)
{
    return (uchar(byte) & 0x93) == 0x10;
}

// Bytes 2 to 4 of a block: 0xx0xxxx.
bool continuesAsbBlock(char byte)
{
    return (uchar(byte) & 0x90) == 0;
}

} // namespace

bool AnswerNoise::skips(char byte, bool content)
{
    if (m_blockLeft > 0) {
        if (continuesAsbBlock(byte)) {
            --m_blockLeft;
            return true;
        }
        // No ASB block after all: the byte is taken for what it is.
        m_blockLeft = 0;
    }
    if (byte == Xon || byte == Xoff)
        return true;
    if (!content && startsAsbBlock(byte)) {
        m_blockLeft = AsbBlockSize - 1;
        return true;
    }
    return false;
}

HeaderAnswerScanner::HeaderAnswerScanner(QByteArrayView header)
    : m_header(header.toByteArray())
{}

void HeaderAnswerScanner::feed(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        switch (m_state) {
        case State::Found:
        case State::Malformed:
            return;
        case State::Seeking:
            if (byte == m_header[m_matched])
                ++m_matched;
            else
                m_matched = byte == m_header[0] ? 1 : 0;
            if (m_matched == m_header.size()) {
                m_state = State::Reading;
                m_noise = {};
            }
            break;
        case State::Reading: {
            const bool fit = fits(byte);
            // Before the NUL test: an ASB block carries NULs of its own.
            if (m_noise.skips(byte, fit))
                break;
            if (byte == '\0') {
                const bool whole = finish();
                // finish() may have chosen to seek another answer instead.
                if (m_state == State::Reading)
                    m_state = whole ? State::Found : State::Malformed;
            } else if (!fit || !take(byte)) {
                m_state = State::Malformed;
            }
            break;
        }
        }
    }
}

void HeaderAnswerScanner::seekAgain()
{
    m_state = State::Seeking;
    m_matched = 0;
}
