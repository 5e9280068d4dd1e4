#include "PngIntegrity.h"

#include <QtEndian>

#include <algorithm>
#include <array>
#include <optional>

namespace modBitmap {

namespace {

const QByteArray Signature("\x89PNG\r\n\x1a\n", 8);

std::array<quint32, 256> crcTable()
{
    std::array<quint32, 256> table{};
    for (quint32 n = 0; n < 256; ++n) {
        quint32 c = n;
        for (int k = 0; k < 8; ++k)
            c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

quint32 addToCrc(quint32 crc, const char *bytes, qint64 count)
{
    static const std::array<quint32, 256> table = crcTable();
    for (qint64 i = 0; i < count; ++i)
        crc = table[(crc ^ uchar(bytes[i])) & 0xFF] ^ (crc >> 8);
    return crc;
}

// The chunk's CRC-32 continued over its next length bytes; nothing when the file ends first.
std::optional<quint32> addFileToCrc(QIODevice &file, quint32 crc, qint64 length)
{
    char block[65536];
    while (length > 0) {
        const qint64 got = file.read(block, std::min<qint64>(length, sizeof block));
        if (got <= 0)
            return std::nullopt;
        crc = addToCrc(crc, block, got);
        length -= got;
    }
    return crc;
}

PngIntegrity walkChunks(QIODevice &file)
{
    for (;;) {
        char head[8]; // length, then type
        if (file.read(head, 8) != 8)
            return PngIntegrity::CutShort;
        const quint32 length = qFromBigEndian<quint32>(head);
        const std::optional<quint32> crc =
            addFileToCrc(file, addToCrc(0xFFFFFFFFu, head + 4, 4), length);
        char stored[4];
        if (!crc || file.read(stored, 4) != 4)
            return PngIntegrity::CutShort;
        // An ancillary chunk (lower-case first letter) that fails is dropped with a warning.
        const bool critical = (head[4] & 0x20) == 0;
        if (critical && (*crc ^ 0xFFFFFFFFu) != qFromBigEndian<quint32>(stored))
            return PngIntegrity::ChunkDamaged;
        if (QByteArrayView(head + 4, 4) == "IEND")
            return PngIntegrity::Sound;
    }
}

} // namespace

PngIntegrity checkPngIntegrity(QIODevice &file)
{
    if (file.peek(Signature.size()) != Signature)
        return PngIntegrity::NotPng;
    PngIntegrity integrity = PngIntegrity::CutShort;
    if (file.seek(Signature.size()))
        integrity = walkChunks(file);
    file.seek(0);
    return integrity;
}

} // namespace modBitmap
