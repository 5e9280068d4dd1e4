#pragma once

#include <QByteArray>
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

// A header-to-NUL answer: its header (37 and an identifier for the NV graphics questions), the
// answer's middle, 00. Before the header anything is passed over (status bytes, noise, ASB
// blocks); inside it only XON, XOFF and an ASB block that cannot be part of the middle are.
class HeaderAnswerScanner : public AnswerScanner
{
public:
    void feed(QByteArrayView bytes) override;
    bool done() const override { return m_state == State::Found || m_state == State::Malformed; }
    bool found() const { return m_state == State::Found; }
    // The header came: the printer began an answer of this kind.
    bool begun() const { return m_state != State::Seeking; }
    // The printer began an answer and broke it: a byte that does not belong, a NUL too early.
    bool malformed() const { return m_state == State::Malformed; }

protected:
    // header: one or two bytes, the first of them found nowhere else in it.
    explicit HeaderAnswerScanner(QByteArrayView header);
    // Whether the byte can belong to the middle at all.
    virtual bool fits(char byte) const = 0;
    // Takes a byte of the middle that fits; false when it breaks the answer.
    virtual bool take(char byte) = 0;
    // The NUL came; false when the middle so far is no whole answer.
    virtual bool finish() = 0;
    // Looks for another answer of the same kind; take() and finish() may call it to pass over
    // the answer being read.
    void seekAgain();

private:
    enum class State { Seeking, Reading, Found, Malformed };

    QByteArray m_header;
    State m_state = State::Seeking;
    qsizetype m_matched = 0; // bytes of the header seen so far
    AnswerNoise m_noise;
};
