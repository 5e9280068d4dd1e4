#include "IdentityScanner.h"

#include "PrinterIdentity.h"

namespace {

constexpr char Header = 0x5F;
constexpr char Xon = 0x11;
constexpr char Xoff = 0x13;
constexpr int AsbLength = 4;
// Longer than any identity a printer keeps; a text that runs on is no answer.
constexpr int MaxAnswerText = 1024;

bool startsAsb(char byte)
{
    return (uchar(byte) & 0x93) == 0x10;
}

bool printable(char byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

} // namespace

void IdentityScanner::feed(QByteArrayView bytes)
{
    for (const char byte : bytes) {
        if (m_found)
            return;
        take(byte);
    }
}

void IdentityScanner::take(char byte)
{
    if (byte == Xon || byte == Xoff)
        return;
    switch (m_state) {
    case State::Seeking:
        if (byte == Header) {
            m_state = State::InText;
            m_text.clear();
            m_textLength = 0;
        } else if (startsAsb(byte)) {
            m_state = State::InAsb;
            m_asbLeft = AsbLength - 1;
        }
        return;
    case State::InAsb:
        // Bits 4 and 7 are clear in the rest of a block, so a header never hides in one.
        if ((uchar(byte) & 0x90) != 0) {
            m_state = State::Seeking;
            take(byte);
        } else if (--m_asbLeft == 0) {
            m_state = State::Seeking;
        }
        return;
    case State::InText:
        break;
    }
    if (byte == '\0') {
        m_found = m_text.trimmed();
        return;
    }
    if (!printable(byte) || ++m_textLength > MaxAnswerText) {
        // A header may start the next answer; whatever else it is gets skipped as noise.
        m_state = State::Seeking;
        take(byte);
        return;
    }
    if (m_text.size() < MaxIdentityText)
        m_text.append(QLatin1Char(byte));
}
