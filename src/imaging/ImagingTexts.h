#pragma once

#include <QSize>
#include <QString>

// Every text of the imaging module that an operator can see.
namespace ImagingTexts {

inline QString cannotRead(const QString &file, const QString &reason)
{
    return QStringLiteral("Cannot read picture %1: %2").arg(file, reason);
}

inline QString cannotConvert(const QString &file, const QString &reason)
{
    return QStringLiteral("Cannot convert picture %1: %2").arg(file, reason);
}

inline QString notAPicture()
{
    return QStringLiteral("the file is not a picture in a readable format");
}

inline QString damagedPicture(const QString &detail)
{
    return QStringLiteral("the picture data is damaged (%1)").arg(detail);
}

inline QString sizeUnlikeHeader(QSize decoded, QSize header)
{
    return QStringLiteral("it decodes to %1 x %2 pixels where its header says %3 x %4")
        .arg(decoded.width())
        .arg(decoded.height())
        .arg(header.width())
        .arg(header.height());
}

inline QString bitmapCutShort()
{
    return QStringLiteral("the bitmap file is cut short: its pixel data ends past the end of "
                          "the file");
}

inline QString bitmapRunsIncomplete()
{
    return QStringLiteral("the bitmap's run-length data leaves pixels undefined (the file may be "
                          "cut short)");
}

inline QString bitmapHeaderDamaged()
{
    return QStringLiteral("the bitmap file header is damaged");
}

inline QString tooLarge(qint64 width, qint64 height)
{
    return QStringLiteral("the picture is too large (%1 x %2 pixels)").arg(width).arg(height);
}

inline QString beyondPixelLimit(qint64 width, qint64 height, qint64 megapixels)
{
    return QStringLiteral("the picture is too large (%1 x %2 pixels): at most %3 megapixels are "
                          "read")
        .arg(width)
        .arg(height)
        .arg(megapixels);
}

inline QString endsEarly()
{
    return QStringLiteral("the file ends before the picture does");
}

inline QString checksumWrong()
{
    return QStringLiteral("a part of the picture fails its checksum");
}

inline QString tooSmall(qint64 width, qint64 height, qint32 widthDots)
{
    return QStringLiteral("the picture is too small to print (%1 x %2 pixels): scaled to at "
                          "most %3 dots wide it must still be at least 8 x 8 dots")
        .arg(width)
        .arg(height)
        .arg(widthDots);
}

inline QString tooTall(qint32 widthDots, qint32 heightDots, qint32 mostDots)
{
    return QStringLiteral("scaled to %1 x %2 dots, the picture is taller than the %3 dots (%4 "
                          "bytes) a printer stores in one NV image or NV graphic")
        .arg(widthDots)
        .arg(heightDots)
        .arg(mostDots)
        .arg(mostDots / 8);
}

inline QString tooNarrow(qint32 widthDots, qint32 neededDots)
{
    return QStringLiteral("at a printer width of %1 dots the picture is less than 8 dots high: it "
                          "needs a width of at least %2 dots")
        .arg(widthDots)
        .arg(neededDots);
}

inline QString rasterDataInvalid()
{
    return QStringLiteral("Raster Data Invalid!");
}

inline QString rasterDataOverflow()
{
    return QStringLiteral("Raster Data Overflow!");
}

inline QString pictureTooTall()
{
    return QStringLiteral("Picture Too Tall!");
}

inline QString noBitmapSelected()
{
    return QStringLiteral("No Bitmap selected!");
}

inline QString bitmapsSelected(int count)
{
    return QString::number(count) + QStringLiteral(" Bitmap selected.");
}

inline QString shareUsed(qint64 percent)
{
    return QString::number(percent) + QStringLiteral(" % of 2M bytes used");
}

inline QString graphicsSelected(int count)
{
    return QString::number(count) + QStringLiteral(" graphics selected.");
}

inline QString graphicsBytes(qint64 total)
{
    return QStringLiteral("NV graphics: %1 bytes").arg(total);
}

inline QString tooManyGraphics(int most)
{
    return QStringLiteral("More than %1 graphics!").arg(most);
}

} // namespace ImagingTexts
