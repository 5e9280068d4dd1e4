#pragma once

#include "modBitmap.h"

#include <QByteArray>

#include <optional>

namespace modBitmap {

// The picture's X x 8 by Y x 8 dots, taken from its raster record, as an NV graphic carries
// them: rows top to bottom, X bytes each, the most significant bit on the left, 1 = black;
// the record's blank columns and rows are left out. The record does not say X and Y, so the
// extent it was made for comes with it. Nothing when the record does not fit that extent or
// the extent holds no dots.
std::optional<QByteArray> graphicDots(const QByteArray &record, RasterExtent extent);

} // namespace modBitmap
