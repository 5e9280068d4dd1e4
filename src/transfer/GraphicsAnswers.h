#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

// The printer's answers to the NV graphics questions, found in whatever it sent: each answer
// is 37 (an identifier) ... 00. Bytes around an answer that belong to no answer of the kind
// asked for (status bytes, noise, an answer cut short) are passed over; an answer itself
// arrives whole, though possibly over several reads.

enum class StoreFigure : char {
    Capacity = 0x30,  // answer to askGraphicsCapacity()
    Remaining = 0x31, // answer to askGraphicsRemaining()
};

// The figure in bytes of the first complete answer of that kind; nothing until one is there.
std::optional<qint64> findStoreFigure(QByteArrayView bytes, StoreFigure figure);

struct KeyListBlock
{
    QList<QByteArray> keys; // two characters each
    bool more = false;      // another block follows once NextKeyBlockRequest is sent
};

// The first complete block of the key list; nothing until one is there.
std::optional<KeyListBlock> findKeyListBlock(QByteArrayView bytes);
