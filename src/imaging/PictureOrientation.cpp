#include "PictureOrientation.h"

#include "ConversionChoices.h"

#include <QTransform>

namespace modBitmap {

QSize orientedSize(QSize size, int rotationDegrees)
{
    return turnsSideways(rotationDegrees) ? size.transposed() : size;
}

QImage orientedPicture(const QImage &picture, bool invert, int rotationDegrees)
{
    QImage oriented = picture;
    if (invert) {
        // In true colour, so that a colour table's indexes are not what gets inverted; the
        // alpha stays, so transparent parts still print as paper.
        oriented = oriented.convertToFormat(oriented.hasAlphaChannel() ? QImage::Format_ARGB32
                                                                       : QImage::Format_RGB32);
        oriented.invertPixels(QImage::InvertRgb);
    }
    if (rotationDegrees != 0)
        oriented = oriented.transformed(QTransform().rotate(rotationDegrees));
    return oriented;
}

} // namespace modBitmap
