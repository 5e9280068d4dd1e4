#pragma once

#include "ConversionChoices.h"

#include <QByteArray>
#include <QString>

namespace modBitmap {

// A picture's printed size in units of 8 dots.
struct RasterExtent
{
    qint32 X = 0;
    qint32 Y = 0;
};

struct RasterSizeResult
{
    RasterExtent extent;
    QString error; // empty on success
    bool ok() const { return error.isEmpty(); }
};

struct RasterRecordResult
{
    QByteArray record;   // xL xH yL yH, then the column data
    QString error;       // empty on success
    RasterExtent extent; // the picture's own, which the record's header rounds up
    bool ok() const { return error.isEmpty(); }
};

// True when the file decodes as a picture; never fails otherwise.
bool IsPictureFile(const QString &path);
// X and Y from the file's header alone, for a printer widthDots wide, of the picture turned
// clockwise by rotationDegrees; X or Y may be 0 for a very narrow or flat picture.
RasterSizeResult RasterSize(const QString &path, qint32 widthDots = DefaultWidthDots,
                            int rotationDegrees = 0);
// The complete raster record; refused, with a reason, when X or Y is 0.
RasterRecordResult BitmapToRaster(const QString &path, const ConversionChoices &choices = {});
// The part after the last backslash (or, where the platform uses it, slash), else after the
// last colon, else empty.
QString FileNameFromPath(const QString &path);
// How messages name a picture: its file name, else the whole path.
QString displayName(const QString &path);

} // namespace modBitmap
