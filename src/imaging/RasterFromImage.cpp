#include "RasterFromImage.h"

#include "DotReduction.h"
#include "ImagingTexts.h"
#include "PictureOrientation.h"
#include "RasterGeometry.h"

#include <QPainter>

#include <cstring>

namespace modBitmap {
namespace {

// The source rows that are drawn: the first Hs rows, with rows beyond the picture
// transparent so that they end up white.
QImage drawnRows(const QImage &image, qint64 rows)
{
    if (rows <= image.height()) {
        QImage view(image.constBits(), image.width(), int(rows), image.bytesPerLine(),
                    image.format());
        view.setColorTable(image.colorTable());
        return view;
    }
    QImage padded(image.width(), int(rows), QImage::Format_ARGB32_Premultiplied);
    padded.fill(Qt::transparent);
    const QImage source = image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    for (int row = 0; row < source.height(); ++row)
        std::memcpy(padded.scanLine(row), source.constScanLine(row), source.bytesPerLine());
    return padded;
}

// Transparent parts print as paper.
QImage onWhite(const QImage &image)
{
    if (!image.hasAlphaChannel())
        return image.convertToFormat(QImage::Format_RGB32);
    QImage flat(image.size(), QImage::Format_RGB32);
    flat.fill(Qt::white);
    QPainter painter(&flat);
    painter.drawImage(0, 0, image);
    return flat;
}

// Upright 1-bit picture of X x 8 by Y x 8 dots, bit 1 = black. Shrinking averages the
// source area of each dot, so a thin line darkens its dots instead of being skipped; the
// reduction then sees the grey levels of the dots themselves.
QImage uprightDots(const QImage &image, RasterExtent extent, const ConversionChoices &choices)
{
    const QImage source = drawnRows(image, sourceHeight(image.width(), extent));
    const QImage scaled =
        source.scaled(extent.X * 8, extent.Y * 8, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return reduceToDots(onWhite(scaled), choices);
}

// The quarter turn: each dot row of the upright picture becomes one bit of every column.
void packColumns(const QImage &dots, RasterExtent extent, qint32 recordX, qint32 recordY,
                 uchar *data)
{
    uchar *pictureColumns = data + qsizetype(recordX - extent.X) * 8 * recordY;
    const int rowBytes = extent.X;
    for (int row = 0; row < dots.height(); ++row) {
        const uchar *line = dots.constScanLine(row);
        const uchar bit = uchar(0x80 >> (row % 8));
        uchar *cell = pictureColumns + row / 8;
        for (int byte = 0; byte < rowBytes; ++byte) {
            const uchar eight = line[byte];
            for (int dot = 0; dot < 8; ++dot) {
                if (eight & (0x80 >> dot))
                    cell[qsizetype(byte * 8 + dot) * recordY] |= bit;
            }
        }
    }
}

// The narrowest printer width at which the picture is at least 8 x 8 dots; nothing when even
// the widest is too narrow, or the picture itself too small.
std::optional<qint32> narrowestWidthDots(qint64 width, qint64 height)
{
    for (qint32 dots = MinWidthDots; dots <= MaxWidthDots; dots += 8) {
        const auto extent = rasterExtent(width, height, dots);
        if (extent && extent->X > 0 && extent->Y > 0)
            return dots;
    }
    return std::nullopt;
}

} // namespace

RasterRecordResult rasterFromImage(const QImage &picture, const ConversionChoices &choices)
{
    const QImage image = orientedPicture(picture, choices.invert, choices.rotationDegrees);
    const auto tooSmall = [&] {
        return RasterRecordResult{
            QByteArray(),
            ImagingTexts::tooSmall(image.width(), image.height(), choices.widthDots),
            {}};
    };
    const auto tooLarge = [&] {
        return RasterRecordResult{
            QByteArray(), ImagingTexts::tooLarge(image.width(), image.height()), {}};
    };
    if (image.isNull())
        return tooSmall();
    const auto extent = rasterExtent(image.width(), image.height(), choices.widthDots);
    if (!extent)
        return tooLarge();
    if (extent->X == 0 || extent->Y == 0) {
        // A large picture made flat by a narrow printer width is no small picture.
        const auto needed = narrowestWidthDots(image.width(), image.height());
        if (!needed || *needed <= choices.widthDots)
            return tooSmall();
        return {QByteArray(), ImagingTexts::tooNarrow(choices.widthDots, *needed), {}};
    }
    // A printer refuses the whole define for one picture it cannot store, and keeps its old set.
    if (!printerStores(*extent)) {
        return {QByteArray(),
                ImagingTexts::tooTall(extent->X * 8, extent->Y * 8, MaxStoredHeightDots),
                {}};
    }
    const qint32 recordX = recordWidth(extent->X, choices.widthDots);
    const qint32 recordY = recordExtent(extent->Y);

    QByteArray record(qsizetype(recordSize(*extent, choices.widthDots)), '\0');
    uchar *bytes = reinterpret_cast<uchar *>(record.data());
    bytes[0] = uchar(recordX % 256);
    bytes[1] = uchar(recordX / 256);
    bytes[2] = uchar(recordY % 256);
    bytes[3] = uchar(recordY / 256);
    packColumns(uprightDots(image, *extent, choices), *extent, recordX, recordY, bytes + 4);
    return {record, QString(), *extent};
}

} // namespace modBitmap
