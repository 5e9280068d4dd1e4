#pragma once

#include "AnswerScanner.h"

#include <QByteArray>
#include <QList>

#include <optional>

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
    // Looks for another answer of the same kind.
    void seekAgain();

private:
    enum class State { Seeking, Reading, Found, Malformed };

    QByteArray m_header;
    State m_state = State::Seeking;
    qsizetype m_matched = 0; // bytes of the header seen so far
    AnswerNoise m_noise;
};

enum class StoreFigure : char {
    Capacity = 0x30,  // answer to askGraphicsCapacity()
    Remaining = 0x31, // answer to askGraphicsRemaining()
};

// A figure in bytes: 1 to 8 decimal digits. A header inside the digits (an answer cut short,
// then a whole one) makes the answer malformed rather than a wrong figure.
class StoreFigureScanner : public HeaderAnswerScanner
{
public:
    explicit StoreFigureScanner(StoreFigure figure);
    // Once found().
    std::optional<qint64> figure() const;

private:
    bool fits(char byte) const override;
    bool take(char byte) override;
    bool finish() override;

    char m_identifier;
    qint64 m_value = 0;
    int m_digits = 0;
    char m_previous = 0;
};

// One block of the key list after another: a status byte (40 the last block, 41 more follow),
// then two characters from 32 to 126 a key. A list of more keys than a printer can store is
// refused as no key list.
class KeyListScanner : public HeaderAnswerScanner
{
public:
    static constexpr int MaxKeys = 255;

    KeyListScanner();

    // The keys of the block found, and whether more blocks follow it.
    const QList<QByteArray> &blockKeys() const { return m_keys; }
    bool more() const { return m_status == MoreBlocks; }
    // Malformed because the list holds more than MaxKeys keys.
    bool tooLong() const { return m_tooLong; }
    // Keys of every block so far, the one being read included.
    int keysSoFar() const { return m_total; }
    // After a block has been answered: the scan goes on with the next one.
    void nextBlock();

private:
    static constexpr char LastBlock = 0x40;
    static constexpr char MoreBlocks = 0x41;

    bool fits(char byte) const override;
    bool take(char byte) override;
    bool finish() override;

    char m_status = 0;
    QList<QByteArray> m_keys;
    QByteArray m_half; // the first character of a key
    int m_total = 0;
    bool m_tooLong = false;
};
