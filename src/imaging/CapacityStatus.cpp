#include "CapacityStatus.h"

#include "ImagingTexts.h"

#include <cmath>

quint32 windowsColour(Tone tone)
{
    return tone == Tone::Red ? 0x0000FF : 0xFF0000;
}

QColor toneColour(Tone tone)
{
    const quint32 bgr = windowsColour(tone);
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

namespace {

// Nothing to store, in either store's words.
CapacityStatus emptyStatus()
{
    CapacityStatus status;
    status.toolTip = QString::number(0);
    status.sizeNotify = {ImagingTexts::rasterDataInvalid(), Tone::Red};
    status.numberNotify = {ImagingTexts::noBitmapSelected(), Tone::Red};
    return status;
}

// A list with raster data: its count, and what the store makes of it; red blocks the upload.
CapacityStatus listedStatus(qint64 total, const QString &number, const StatusText &size)
{
    CapacityStatus status;
    status.toolTip = QString::number(total);
    status.numberNotify = {number, Tone::Blue};
    status.sizeNotify = size;
    status.uploadEnabled = size.tone == Tone::Blue;
    return status;
}

} // namespace

CapacityStatus capacityStatus(qint64 total, int count, qsizetype tooTall)
{
    if (total == 0)
        return emptyStatus();
    const QString number = ImagingTexts::bitmapsSelected(count);
    if (tooTall > 0)
        return listedStatus(total, number, {ImagingTexts::pictureTooTall(), Tone::Red});
    if (total > CapacityLimit)
        return listedStatus(total, number, {ImagingTexts::rasterDataOverflow(), Tone::Red});
    // Adding 0.9 lifts every share of 0.1 % or more to the next whole percent.
    const auto percent = qint64(std::floor(double(total) / double(CapacityLimit) * 100 + 0.9));
    return listedStatus(total, number, {ImagingTexts::shareUsed(percent), Tone::Blue});
}

CapacityStatus graphicsCapacityStatus(qint64 total, int count, qsizetype tooTall)
{
    if (total == 0)
        return emptyStatus();
    const QString number = ImagingTexts::graphicsSelected(count);
    if (tooTall > 0)
        return listedStatus(total, number, {ImagingTexts::pictureTooTall(), Tone::Red});
    if (count > MaxGraphicsCount) {
        return listedStatus(total, number,
                            {ImagingTexts::tooManyGraphics(MaxGraphicsCount), Tone::Red});
    }
    return listedStatus(total, number, {ImagingTexts::graphicsBytes(total), Tone::Blue});
}
