#include "modBitmap.h"

#include "ImagingTexts.h"
#include "PictureReader.h"
#include "RasterFromImage.h"
#include "RasterGeometry.h"

#include <QDir>

namespace modBitmap {
namespace {

QString displayName(const QString &path)
{
    const QString name = FileNameFromPath(path);
    return name.isEmpty() ? path : name;
}

} // namespace

bool IsPictureFile(const QString &path)
{
    return decodePicture(path).error.isEmpty();
}

RasterSizeResult RasterSize(const QString &path)
{
    const PictureSize picture = readPictureSize(path);
    if (!picture.error.isEmpty())
        return {RasterExtent(), ImagingTexts::cannotRead(displayName(path), picture.error)};
    const QSize size = picture.size;
    const auto extent = rasterExtent(size.width(), size.height());
    if (!extent) {
        return {RasterExtent(),
                ImagingTexts::cannotRead(displayName(path),
                                         ImagingTexts::tooLarge(size.width(), size.height()))};
    }
    return {*extent, QString()};
}

RasterRecordResult BitmapToRaster(const QString &path)
{
    const DecodedPicture picture = decodePicture(path);
    if (!picture.error.isEmpty())
        return {QByteArray(), ImagingTexts::cannotRead(displayName(path), picture.error)};
    RasterRecordResult result = rasterFromImage(picture.image);
    if (!result.ok())
        result.error = ImagingTexts::cannotConvert(displayName(path), result.error);
    return result;
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

} // namespace modBitmap
