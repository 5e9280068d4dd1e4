#include "ImageTotal.h"

#include "modBitmap.h"

ImageTotal totalRasterSize(const QStringList &paths)
{
    ImageTotal sum;
    for (const QString &path : paths) {
        const modBitmap::RasterSizeResult size = modBitmap::RasterSize(path);
        if (!size.ok()) {
            sum.unreadable << path;
            continue;
        }
        sum.total += qint64(size.extent.X) * size.extent.Y * 8;
    }
    return sum;
}
