#include "GraphicsDefine.h"

#include <cstring>

namespace {

constexpr char RasterDefine = 0x43;
constexpr qsizetype ParametersSize = 11;

int word(QByteArrayView bytes, qsizetype at)
{
    return uchar(bytes[at]) + 256 * uchar(bytes[at + 1]);
}

bool isKey(QByteArrayView key)
{
    return key.size() == 2 && uchar(key[0]) >= 32 && uchar(key[0]) <= 126 && uchar(key[1]) >= 32 &&
           uchar(key[1]) <= 126;
}

QImage blankDots(int width, int height)
{
    QImage dots(width, height, QImage::Format_Mono);
    dots.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    dots.fill(0);
    return dots;
}

// Rows top to bottom, (width + 7) / 8 bytes each, the most significant bit on the left.
QImage rasterDots(int width, int height, QByteArrayView data)
{
    QImage dots = blankDots(width, height);
    const int rowBytes = (width + 7) / 8;
    for (int row = 0; row < height; ++row)
        std::memcpy(dots.scanLine(row), data.data() + qsizetype(row) * rowBytes, rowBytes);
    return dots;
}

// Columns left to right, (height + 7) / 8 bytes each, the most significant bit on top.
QImage columnDots(int width, int height, QByteArrayView data)
{
    QImage dots = blankDots(width, height);
    const int bands = (height + 7) / 8;
    for (int column = 0; column < width; ++column)
        for (int row = 0; row < height; ++row)
            if (uchar(data[qsizetype(column) * bands + row / 8]) & (0x80 >> (row % 8)))
                dots.setPixel(column, row, 1);
    return dots;
}

} // namespace

GraphicDefine readGraphicDefine(QByteArrayView body)
{
    GraphicDefine define;
    define.raster = body.size() > 1 && body[1] == RasterDefine;
    if (body.size() < ParametersSize) {
        define.error = QStringLiteral("%1 bytes").arg(body.size());
        return define;
    }
    define.key = body.sliced(3, 2).toByteArray();
    define.width = word(body, 6);
    define.height = word(body, 8);
    const qint64 dataSize = define.raster ? qint64((define.width + 7) / 8) * define.height
                                          : qint64(define.width) * ((define.height + 7) / 8);
    if (body[2] != 0x30 || body[5] != 0x01 || body[10] != 0x31)
        define.error = QStringLiteral("not one monochrome colour");
    else if (!isKey(define.key))
        define.error = QStringLiteral("a bad key");
    else if (define.width < 1 || define.width > MaxGraphicWidth || define.height < 1 ||
             define.height > MaxGraphicHeight)
        define.error =
            QStringLiteral("a bad size (%1x%2 dots)").arg(define.width).arg(define.height);
    else if (body.size() - ParametersSize != dataSize)
        define.error = QStringLiteral("%1 data bytes instead of %2")
                           .arg(body.size() - ParametersSize)
                           .arg(dataSize);
    if (!define.error.isEmpty())
        return define;
    const QByteArrayView data = body.sliced(ParametersSize);
    define.graphic = {define.raster ? rasterDots(define.width, define.height, data)
                                    : columnDots(define.width, define.height, data),
                      dataSize};
    return define;
}
