#include "modBitmap.h"

#include "ImagingTexts.h"
#include "PictureConverter.h"
#include "PictureOrientation.h"
#include "PictureReader.h"
#include "RasterGeometry.h"

#include <QDir>

namespace modBitmap {

bool IsPictureFile(const QString &path)
{
    return decodePicture(path).error.isEmpty();
}

RasterSizeResult RasterSize(const QString &path, qint32 widthDots, int rotationDegrees)
{
    const PictureSize picture = readPictureSize(path);
    if (!picture.error.isEmpty())
        return {RasterExtent(), ImagingTexts::cannotRead(displayName(path), picture.error)};
    const QSize size = orientedSize(picture.size, rotationDegrees);
    const auto extent = rasterExtent(size.width(), size.height(), widthDots);
    if (!extent) {
        return {RasterExtent(),
                ImagingTexts::cannotRead(displayName(path),
                                         ImagingTexts::tooLarge(size.width(), size.height()))};
    }
    return {*extent, QString()};
}

RasterRecordResult BitmapToRaster(const QString &path, const ConversionChoices &choices)
{
    return PictureConverter(path).convert(choices);
}

QString FileNameFromPath(const QString &path)
{
    // Where the platform separates folders with '/', a path of its own lists by its name too.
    const bool slashSeparates = QDir::separator() == u'/';
    qsizetype cut = path.lastIndexOf(u'\\');
    if (slashSeparates)
        cut = std::max(cut, path.lastIndexOf(u'/'));
    if (cut < 0)
        cut = path.lastIndexOf(u':');
    return cut < 0 ? QString() : path.mid(cut + 1);
}

QString displayName(const QString &path)
{
    const QString name = FileNameFromPath(path);
    return name.isEmpty() ? path : name;
}

} // namespace modBitmap
