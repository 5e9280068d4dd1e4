#pragma once

#include "AnswerScanner.h"

#include <QByteArray>
#include <QList>

#include <optional>

// The printer's answers to the NV graphics questions: 37, an identifier, the middle, 00.

enum class StoreFigure : char {
    Capacity = 0x30,  // answer to askGraphicsCapacity()
    Remaining = 0x31, // answer to askGraphicsRemaining()
};

// A figure in bytes: 1 to 8 decimal digits. Digits that hold the answer's own header are either
// such a figure (1703936 holds 37 30) or an answer cut short and then a whole one (37 30 33 |
// 37 30 31 32 00 is not 37012): ambiguous() says so, and only asking again tells which.
class StoreFigureScanner : public HeaderAnswerScanner
{
public:
    explicit StoreFigureScanner(StoreFigure figure);
    // Once found().
    std::optional<qint64> figure() const;
    bool ambiguous() const { return m_ambiguous; }

private:
    bool fits(char byte) const override;
    bool take(char byte) override;
    bool finish() override;

    char m_identifier;
    qint64 m_value = 0;
    int m_digits = 0;
    char m_previous = 0;
    bool m_ambiguous = false;
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
