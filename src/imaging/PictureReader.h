#pragma once

#include "ConversionChoices.h"

#include <QImage>
#include <QSize>
#include <QString>

namespace modBitmap {

// A picture whose header gives more pixels than this is refused before it is decoded.
constexpr qint64 MaxPictureMegapixels = 256;

struct PictureSize
{
    QSize size;
    QString error; // why the file cannot be read; empty on success
};

struct DecodedPicture
{
    QImage image;
    QString error; // why the file cannot be read; empty on success
};

// Width and height from the file's header, without decoding the pixels.
PictureSize readPictureSize(const QString &path);

// The picture's pixels. A JPEG that will shrink to widthDots (once turned by rotationDegrees)
// is decoded straight at its scaled size (DCT scaling to at least that size, then smooth
// scaling), so a large photo stays cheap.
DecodedPicture decodePicture(const QString &path, qint32 widthDots = DefaultWidthDots,
                             int rotationDegrees = 0);

} // namespace modBitmap
