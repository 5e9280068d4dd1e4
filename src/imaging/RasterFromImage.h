#pragma once

#include "modBitmap.h"

#include <QImage>

namespace modBitmap {

// The raster record of a decoded picture: scaled to the record's geometry, reduced to
// 1 bit and laid out column by column. On failure the error says why, without a file name.
RasterRecordResult rasterFromImage(const QImage &image);

} // namespace modBitmap
