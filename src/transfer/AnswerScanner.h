#pragma once

#include <QByteArrayView>

// Reads one kind of answer from whatever a printer sends, in whatever pieces it arrives. Each
// byte is looked at once, so a flood costs time in proportion to its size, and nothing but the
// answer itself is kept. Once done(), further bytes change nothing.
class AnswerScanner
{
public:
    virtual ~AnswerScanner() = default;
    virtual void feed(QByteArrayView bytes) = 0;
    virtual bool done() const = 0;
};

// What a printer may send at any time besides the answer asked for: the four bytes of an
// automatic status back (ASB) block, and XON / XOFF under software flow control.
class AnswerNoise
{
public:
    // True when byte is such noise and belongs to no answer. content: the byte would fit the
    // answer being read, so a byte shaped as the start of an ASB block is not taken for one.
    bool skips(char byte, bool content);

private:
    int m_blockLeft = 0; // bytes of an ASB block still to come
};
