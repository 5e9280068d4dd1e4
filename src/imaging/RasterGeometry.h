#pragma once

#include "ConversionChoices.h"
#include "modBitmap.h"

#include <QSize>

#include <algorithm>
#include <optional>

namespace modBitmap {

// Rounds to the nearest whole number, ties to even (as the record's sizes are defined).
qint64 roundHalfEven(double value);

// Size in dots of a W x H pixel picture scaled to at most widthDots wide, a whole number of
// bytes: X x 8 by round(H x X x 8 / W). nullopt when the picture has no pixels or
// H x X x 8 does not fit 32 bits.
std::optional<QSize> scaledPictureSize(qint64 width, qint64 height,
                                       qint32 widthDots = DefaultWidthDots);

// X and Y of a W x H pixel picture (the scaled size in whole units of 8 dots).
std::optional<RasterExtent> rasterExtent(qint64 width, qint64 height,
                                         qint32 widthDots = DefaultWidthDots);

// The record extent: a figure of the raster extent raised to the next multiple of 4.
constexpr qint32 recordExtent(qint32 units)
{
    return ((units + 3) / 4) * 4;
}

// The record's width: X raised as recordExtent raises it (blank columns on the left), but
// never wider than the printer, whose head would cut or refuse the record.
constexpr qint32 recordWidth(qint32 X, qint32 widthDots)
{
    return std::min(recordExtent(X), std::max(X, widthDots / 8));
}

// The tallest picture a printer stores in one define: FS q takes records 1 to 288 bytes
// (2,304 dots) tall, a GS ( L graphic 1 to 2,304 dots. Both take far wider ones (1,023 bytes,
// 8,192 dots) than any printer width.
constexpr qint32 MaxStoredHeightDots = 2304;
constexpr qint32 MaxRecordWidthBytes = 1023;
static_assert(MaxWidthDots / 8 <= MaxRecordWidthBytes);

// Whether a printer takes the record, or the graphic, of a picture of this extent.
constexpr bool printerStores(RasterExtent extent)
{
    return recordExtent(extent.Y) * 8 <= MaxStoredHeightDots;
}

// Bytes of the raster record for an extent: the 4-byte header and the column data.
constexpr qint64 recordSize(RasterExtent extent, qint32 widthDots)
{
    return 4 + qint64(recordWidth(extent.X, widthDots)) * recordExtent(extent.Y) * 8;
}

// Source rows that, at the width's scale, fill exactly Y x 8 dots (needs X > 0).
qint64 sourceHeight(qint64 width, RasterExtent extent);

} // namespace modBitmap
