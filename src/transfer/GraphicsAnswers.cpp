#include "GraphicsAnswers.h"

#include <functional>

namespace {

constexpr char Header = 0x37;
constexpr char KeyListIdentifier = 0x72;
constexpr char LastBlock = 0x40;
constexpr char MoreBlocks = 0x41;
// Enough digits for any store; a longer run is no answer.
constexpr qsizetype MaxDigits = 12;
// Every key there can be: 95 x 95 pairs, after the block's status byte.
constexpr qsizetype MaxKeyBlock = 1 + 2 * 95 * 95;

// The part between 37 id and 00 of the first answer whose every byte passes allowed(byte,
// index) and whose whole middle passes complete().
std::optional<QByteArrayView> findAnswer(QByteArrayView bytes, char identifier, qsizetype maxMiddle,
                                         const std::function<bool(char, qsizetype)> &allowed,
                                         const std::function<bool(QByteArrayView)> &complete)
{
    for (qsizetype start = 0; start + 2 < bytes.size(); ++start) {
        if (bytes[start] != Header || bytes[start + 1] != identifier)
            continue;
        const qsizetype first = start + 2;
        qsizetype end = first;
        while (end < bytes.size() && bytes[end] != '\0' && end - first < maxMiddle &&
               allowed(bytes[end], end - first))
            ++end;
        if (end < bytes.size() && bytes[end] == '\0') {
            const QByteArrayView middle = bytes.sliced(first, end - first);
            if (complete(middle))
                return middle;
        }
    }
    return std::nullopt;
}

} // namespace

std::optional<qint64> findStoreFigure(QByteArrayView bytes, StoreFigure figure)
{
    const std::optional<QByteArrayView> digits = findAnswer(
        bytes, char(figure), MaxDigits,
        [](char byte, qsizetype) { return byte >= '0' && byte <= '9'; },
        [](QByteArrayView middle) { return !middle.isEmpty(); });
    if (!digits)
        return std::nullopt;
    qint64 value = 0;
    for (const char digit : *digits)
        value = value * 10 + (digit - '0');
    return value;
}

std::optional<KeyListBlock> findKeyListBlock(QByteArrayView bytes)
{
    const std::optional<QByteArrayView> block = findAnswer(
        bytes, KeyListIdentifier, MaxKeyBlock,
        [](char byte, qsizetype index) {
            return index == 0 ? byte == LastBlock || byte == MoreBlocks : byte >= 32 && byte <= 126;
        },
        [](QByteArrayView middle) { return middle.size() % 2 == 1; });
    if (!block)
        return std::nullopt;
    KeyListBlock found;
    found.more = block->front() == MoreBlocks;
    for (qsizetype at = 1; at < block->size(); at += 2)
        found.keys.append(block->sliced(at, 2).toByteArray());
    return found;
}
