#pragma once

#include "ConversionChoices.h"

#include <QImage>

namespace modBitmap {

// The dots of an opaque picture already scaled to them: Format_Mono, bit 1 = black. Every
// reduction keeps pure black black and pure white white.
QImage reduceToDots(const QImage &picture, const ConversionChoices &choices);

} // namespace modBitmap
