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
