#include "ImageTotal.h"

#include "modBitmap.h"

ImageTotal totalRasterSize(const QList<ListedPicture> &pictures)
{
    ImageTotal sum;
    for (const ListedPicture &picture : pictures) {
        const modBitmap::RasterSizeResult size = modBitmap::RasterSize(
            picture.path, picture.choices.widthDots, picture.choices.rotationDegrees);
        if (!size.ok()) {
            sum.unreadable << picture.path;
            continue;
        }
        sum.total += qint64(size.extent.X) * size.extent.Y * 8;
    }
    return sum;
}
