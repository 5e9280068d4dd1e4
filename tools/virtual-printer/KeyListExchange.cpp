#include "KeyListExchange.h"

namespace {

constexpr char Ack = 0x06;
constexpr char Nak = 0x15;
constexpr char Can = 0x18;
constexpr char MoreBlocks = 0x41;

} // namespace

QByteArray KeyListExchange::start(QList<QByteArray> keys)
{
    m_keys = std::move(keys);
    m_waiting = true;
    return block();
}

KeyListExchange::Step KeyListExchange::answer(char byte)
{
    switch (byte) {
    case Nak:
        return {block(), QStringLiteral("NAK: the same block again")};
    case Ack: {
        m_keys.remove(0, std::min<qsizetype>(KeysPerBlock, m_keys.size()));
        if (!m_keys.isEmpty())
            return {block(), QStringLiteral("ACK: the next block")};
        m_waiting = false;
        return {{}, QStringLiteral("ACK: the key list is over")};
    }
    case Can:
        m_waiting = false;
        m_keys.clear();
        return {{}, QStringLiteral("CAN: dropped the rest of the key list")};
    default:
        m_waiting = false;
        m_keys.clear();
        return {{},
                QStringLiteral("error: %1 instead of ACK, NAK or CAN after a key-list block: "
                               "cancelled the list and consumed the byte")
                    .arg(QString::fromLatin1(QByteArray(1, byte).toHex().toUpper()))};
    }
}

QByteArray KeyListExchange::block() const
{
    const qsizetype count = std::min<qsizetype>(KeysPerBlock, m_keys.size());
    QByteArray block("\x37\x72");
    block.append(count < m_keys.size() ? MoreBlocks : '\x40');
    for (const QByteArray &key : m_keys.first(count))
        block.append(key);
    block.append('\0');
    return block;
}

QString describeKeyBlock(const QByteArray &block)
{
    const qsizetype keys = (block.size() - 4) / 2;
    return QStringLiteral("%1 key%2%3")
        .arg(keys)
        .arg(keys == 1 ? "" : "s")
        .arg(block[2] == MoreBlocks ? QStringLiteral(", more follow") : QString());
}
