#include "BmpIntegrity.h"

#include <QtEndian>

#include <algorithm>
#include <cstdlib>

namespace modBitmap {
namespace {

constexpr qint64 FileHeaderSize = 14;
constexpr quint32 CoreHeaderSize = 12;
constexpr quint32 InfoHeaderSize = 40;

enum Compression : quint32 { Rgb = 0, Rle8 = 1, Rle4 = 2, BitFields = 3, AlphaBitFields = 6 };

struct InfoHeader
{
    qint64 width = 0;
    qint64 height = 0;
    quint32 bitCount = 0;
    quint32 compression = Rgb;
    quint32 coloursUsed = 0;
    qint64 paletteEntrySize = 4;
};

quint16 u16(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 u32(const QByteArray &bytes, int at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

// Colour masks that follow a plain 40-byte info header.
qint64 maskBytes(quint32 headerSize, quint32 compression)
{
    if (headerSize != InfoHeaderSize)
        return 0;
    if (compression == BitFields)
        return 12;
    return compression == AlphaBitFields ? 16 : 0;
}

qint64 paletteBytes(const InfoHeader &info)
{
    if (info.bitCount > 8)
        return 0;
    const qint64 colours = info.coloursUsed ? info.coloursUsed : (qint64(1) << info.bitCount);
    return colours * info.paletteEntrySize;
}

} // namespace

BmpIntegrity checkBmpIntegrity(const QByteArray &head, qint64 fileSize)
{
    if (!head.startsWith("BM"))
        return BmpIntegrity::NotBmp;
    if (head.size() < FileHeaderSize + 4)
        return BmpIntegrity::CutShort;

    const quint32 headerSize = u32(head, 14);
    InfoHeader info;
    if (headerSize == CoreHeaderSize) {
        if (head.size() < FileHeaderSize + CoreHeaderSize)
            return BmpIntegrity::CutShort;
        info.width = qint16(u16(head, 18));
        info.height = qint16(u16(head, 20));
        info.bitCount = u16(head, 24);
        info.paletteEntrySize = 3;
    } else if (headerSize >= InfoHeaderSize) {
        if (head.size() < FileHeaderSize + InfoHeaderSize)
            return BmpIntegrity::CutShort;
        info.width = qint32(u32(head, 18));
        info.height = qint32(u32(head, 22));
        info.bitCount = u16(head, 28);
        info.compression = u32(head, 30);
        info.coloursUsed = u32(head, 46);
    } else {
        return BmpIntegrity::HeaderDamaged;
    }
    if (info.bitCount > 32)
        return BmpIntegrity::HeaderDamaged;

    const qint64 tablesEnd =
        FileHeaderSize + headerSize + maskBytes(headerSize, info.compression) + paletteBytes(info);
    const qint64 pixelStart = std::max<qint64>(u32(head, 10), tablesEnd);
    const bool uncompressed = info.compression == Rgb || info.compression == BitFields ||
                              info.compression == AlphaBitFields;
    if (!uncompressed) {
        if (pixelStart >= fileSize)
            return BmpIntegrity::CutShort;
        // A run covers at most 255 pixels in 2 bytes, and a skip leaves pixels undefined; so a
        // forged size is refused here instead of after decoding millions of undefined pixels.
        const qint64 pixels = std::abs(info.width) * std::abs(info.height);
        const bool runs = info.compression == Rle8 || info.compression == Rle4;
        if (runs && fileSize - pixelStart < (pixels + 254) / 255 * 2)
            return BmpIntegrity::RunsTooShort;
        return BmpIntegrity::RunLength;
    }

    // Divided rather than multiplied: a forged header must not overflow the product.
    const qint64 stride = (std::abs(info.width) * info.bitCount + 31) / 32 * 4;
    const qint64 available = fileSize - pixelStart;
    if (available < 0 || (stride > 0 && std::abs(info.height) > available / stride))
        return BmpIntegrity::CutShort;
    return BmpIntegrity::Sound;
}

} // namespace modBitmap
