#pragma once

#include <QImage>
#include <QSize>

namespace modBitmap {

// The size of a picture of this size once turned.
QSize orientedSize(QSize size, int rotationDegrees);

// The picture as it is to be printed: light and dark swapped when asked, then turned clockwise
// by 0, 90, 180 or 270 degrees. Without either it is the picture itself.
QImage orientedPicture(const QImage &picture, bool invert, int rotationDegrees);

} // namespace modBitmap
