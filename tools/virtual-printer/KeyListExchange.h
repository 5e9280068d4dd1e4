#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// The key list as a printer sends it: blocks of KeysPerBlock keys (37 72, 40 for the last block
// or 41 when more follow, two characters a key, 00). After each block, the last one included,
// the printer waits for the host: ACK has the next block sent or ends the list, NAK has the
// same block sent again, CAN drops the rest; any other byte cancels as well and is consumed.
class KeyListExchange
{
public:
    static constexpr int KeysPerBlock = 40;

    // The first block of a new list.
    QByteArray start(QList<QByteArray> keys);
    // A block waits for the host's answer.
    bool waiting() const { return m_waiting; }

    struct Step
    {
        QByteArray block; // to be sent; empty when the list is over
        QString log;
    };
    // The host's byte while waiting().
    Step answer(char byte);

private:
    QByteArray block() const;

    QList<QByteArray> m_keys; // those of the block sent and of the blocks after it
    bool m_waiting = false;
};

// "N keys[, more follow]" for a block, as the log tells it.
QString describeKeyBlock(const QByteArray &block);
