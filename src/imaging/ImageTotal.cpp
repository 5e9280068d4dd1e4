#include "ImageTotal.h"

#include "ImagingTexts.h"
#include "RasterGeometry.h"
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
        const modBitmap::RasterExtent extent = size.extent;
        sum.total += qint64(extent.X) * extent.Y * 8;
        if (!modBitmap::printerStores(extent)) {
            sum.tooTall << ImagingTexts::cannotConvert(
                modBitmap::displayName(picture.path),
                ImagingTexts::tooTall(extent.X * 8, extent.Y * 8, modBitmap::MaxStoredHeightDots));
        }
    }
    return sum;
}
