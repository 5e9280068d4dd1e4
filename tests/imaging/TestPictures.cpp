#include "TestPictures.h"

#include <QFile>
#include <QtEndian>

#include <bit>

QImage whitePicture(int width, int height, QImage::Format format)
{
    QImage picture(width, height, format);
    picture.fill(Qt::white);
    return picture;
}

QImage glyphPicture()
{
    QImage picture = whitePicture(24, 16);
    const QRgb black = qRgb(0, 0, 0);
    for (int row = 2; row <= 13; ++row)
        picture.setPixel(2, row, black);
    for (int column = 2; column <= 9; ++column)
        picture.setPixel(column, 2, black);
    for (int column = 2; column <= 7; ++column)
        picture.setPixel(column, 7, black);
    picture.setPixel(23, 15, black);
    return picture;
}

bool isBlack(const QImage &picture, int column, int row)
{
    return qGray(picture.pixel(column, row)) < 128;
}

namespace {

void append16(QByteArray &bytes, quint16 value)
{
    char le[2];
    qToLittleEndian(value, le);
    bytes.append(le, 2);
}

void append32(QByteArray &bytes, quint32 value)
{
    char le[4];
    qToLittleEndian(value, le);
    bytes.append(le, 4);
}

struct Palette
{
    QList<QRgb> colours;
    int blackIndex = 0;
    int whiteIndex = 0;
};

// Black and white sit at unexpected indexes among other colours.
Palette paletteFor(int bitsPerPixel)
{
    switch (bitsPerPixel) {
    case 1:
        return {{qRgb(255, 255, 255), qRgb(0, 0, 0)}, 1, 0};
    case 4: {
        Palette palette;
        for (int i = 0; i < 16; ++i)
            palette.colours << qRgb(40 + i * 10, 200 - i * 5, 90);
        palette.colours[5] = qRgb(0, 0, 0);
        palette.colours[12] = qRgb(255, 255, 255);
        palette.blackIndex = 5;
        palette.whiteIndex = 12;
        return palette;
    }
    case 8: {
        Palette palette;
        for (int i = 0; i < 256; ++i)
            palette.colours << qRgb(255 - i, 255 - i, 255 - i);
        palette.blackIndex = 255;
        palette.whiteIndex = 0;
        return palette;
    }
    default:
        return {};
    }
}

} // namespace

namespace {

enum Compression : quint32 { Uncompressed = 0, RunLength8 = 1, RunLength4 = 2 };

quint32 headerSize(BmpHeader header)
{
    switch (header) {
    case BmpHeader::Core:
        return 12;
    case BmpHeader::Info:
        break;
    case BmpHeader::V5:
        return 124;
    }
    return 40;
}

QByteArray bmpHeaders(const QImage &picture, int bitsPerPixel, Compression compression,
                      const Palette &palette, quint32 dataSize, bool topDown, BmpHeader header)
{
    // The core header's palette entries have no fourth byte.
    const int entrySize = header == BmpHeader::Core ? 3 : 4;
    const quint32 pixelOffset =
        14 + headerSize(header) + quint32(palette.colours.size() * entrySize);
    const int height = topDown ? -picture.height() : picture.height();
    QByteArray bytes("BM");
    append32(bytes, pixelOffset + dataSize);
    append32(bytes, 0);
    append32(bytes, pixelOffset);
    append32(bytes, headerSize(header));
    if (header == BmpHeader::Core) {
        append16(bytes, quint16(picture.width()));
        append16(bytes, quint16(height));
        append16(bytes, 1);
        append16(bytes, quint16(bitsPerPixel));
    } else {
        append32(bytes, quint32(picture.width()));
        append32(bytes, quint32(height));
        append16(bytes, 1);
        append16(bytes, quint16(bitsPerPixel));
        append32(bytes, compression);
        append32(bytes, dataSize);
        append32(bytes, 2835);
        append32(bytes, 2835);
        append32(bytes, quint32(palette.colours.size()));
        append32(bytes, 0);
    }
    if (header == BmpHeader::V5) {
        bytes += QByteArray(16, '\0'); // no colour masks: the pixels are plain RGB
        append32(bytes, 0x73524742);   // sRGB, so the end points and gammas are unused
        bytes += QByteArray(36 + 12, '\0');
        append32(bytes, 4); // rendering intent: pictures
        bytes += QByteArray(12, '\0');
    }
    for (QRgb colour : palette.colours) {
        const char bgr[] = {char(qBlue(colour)), char(qGreen(colour)), char(qRed(colour)), 0};
        bytes.append(bgr, entrySize);
    }
    return bytes;
}

} // namespace

QByteArray craftBmp(const QImage &picture, int bitsPerPixel, bool topDown, BmpHeader header)
{
    const Palette palette = paletteFor(bitsPerPixel);
    const int stride = (picture.width() * bitsPerPixel + 31) / 32 * 4;
    QByteArray bytes = bmpHeaders(picture, bitsPerPixel, Uncompressed, palette,
                                  quint32(stride * picture.height()), topDown, header);
    for (int stored = 0; stored < picture.height(); ++stored) {
        const int row = topDown ? stored : picture.height() - 1 - stored;
        QByteArray line(stride, '\0');
        for (int column = 0; column < picture.width(); ++column) {
            const bool black = isBlack(picture, column, row);
            if (bitsPerPixel == 16) {
                // Five bits each of red, green and blue.
                qToLittleEndian(quint16(black ? 0 : 0x7FFF), line.data() + column * 2);
                continue;
            }
            if (bitsPerPixel >= 24) {
                const char level = black ? 0 : char(255);
                for (int channel = 0; channel < 3; ++channel)
                    line[column * (bitsPerPixel / 8) + channel] = level;
                continue;
            }
            const int index = black ? palette.blackIndex : palette.whiteIndex;
            const int bit = column * bitsPerPixel;
            const int shift = 8 - bitsPerPixel - bit % 8;
            line[bit / 8] = char(uchar(line[bit / 8]) | (index << shift));
        }
        bytes += line;
    }
    return bytes;
}

QByteArray craftRunLengthBmp(const QImage &picture, int rows, int bitsPerPixel)
{
    const Palette palette = paletteFor(bitsPerPixel);
    QByteArray runs;
    for (int row = picture.height() - 1; row >= picture.height() - rows; --row) {
        for (int column = 0; column < picture.width();) {
            const bool black = isBlack(picture, column, row);
            int length = 1;
            while (column + length < picture.width() && length < 255 &&
                   isBlack(picture, column + length, row) == black)
                ++length;
            const int index = black ? palette.blackIndex : palette.whiteIndex;
            runs += char(length);
            // A 4-bit run alternates the two halves of its byte: both name the colour.
            runs += char(bitsPerPixel == 4 ? index << 4 | index : index);
            column += length;
        }
        runs += QByteArray("\0\0", 2); // end of the row
    }
    runs += QByteArray("\0\1", 2); // end of the picture
    const Compression compression = bitsPerPixel == 4 ? RunLength4 : RunLength8;
    return bmpHeaders(picture, bitsPerPixel, compression, palette, quint32(runs.size()), false,
                      BmpHeader::Info) +
           runs;
}

QByteArray squareGif()
{
    static const unsigned char bytes[] = {
        0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x10, 0x00, 0x10, 0x00, 0xf0, 0x01, 0x00, 0x00,
        0x00, 0x00, 0xff, 0xff, 0xff, 0x21, 0xf9, 0x04, 0x00, 0x00, 0x00, 0x00, 0x00, 0x2c,
        0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x10, 0x00, 0x00, 0x02, 0x1a, 0x84, 0x6f, 0xa1,
        0xab, 0x88, 0xcc, 0xdc, 0x81, 0x4b, 0x26, 0x1a, 0x2c, 0xc0, 0xd9, 0x72, 0xfd, 0x79,
        0xdc, 0x48, 0x96, 0xe6, 0x89, 0xa6, 0xea, 0x4a, 0x16, 0x00, 0x3b};
    return QByteArray(reinterpret_cast<const char *>(bytes), sizeof bytes);
}

QString writeFile(const QTemporaryDir &dir, const QString &name, const QByteArray &bytes)
{
    const QString path = dir.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        return QString();
    return path;
}

QString savePicture(const QTemporaryDir &dir, const QString &name, const QImage &picture,
                    int quality)
{
    const QString path = dir.filePath(name);
    return picture.save(path, nullptr, quality) ? path : QString();
}

bool dotAt(const QByteArray &record, int X, int column, int row)
{
    const int x = uchar(record.at(0)) + 256 * uchar(record.at(1));
    const int y = uchar(record.at(2)) + 256 * uchar(record.at(3));
    const qsizetype at = 4 + qsizetype((x - X) * 8 + column) * y + row / 8;
    return uchar(record.at(at)) & (0x80 >> (row % 8));
}

int blackDots(const QByteArray &record)
{
    int count = 0;
    for (qsizetype at = 4; at < record.size(); ++at)
        count += std::popcount(uchar(record.at(at)));
    return count;
}
