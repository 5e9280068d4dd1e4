#pragma once

#include "ConversionChoices.h"
#include "modBitmap.h"

#include <QImage>

namespace modBitmap {

// The raster record of a decoded picture: inverted and turned as chosen, scaled to the record's
// geometry for the chosen width, reduced to 1 bit as chosen and laid out column by column. On
// failure the error says why, without a file name.
RasterRecordResult rasterFromImage(const QImage &image, const ConversionChoices &choices = {});

} // namespace modBitmap
