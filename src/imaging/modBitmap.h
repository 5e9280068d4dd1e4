#pragma once

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
    QByteArray record; // xL xH yL yH, then the column data
    QString error;     // empty on success
    bool ok() const { return error.isEmpty(); }
};

bool IsPictureFile(const QString &path);
RasterSizeResult RasterSize(const QString &path);
RasterRecordResult BitmapToRaster(const QString &path);
QString FileNameFromPath(const QString &path);

} // namespace modBitmap
