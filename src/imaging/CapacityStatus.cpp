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

CapacityStatus capacityStatus(qint64 total, int count)
{
    CapacityStatus status;
    status.toolTip = QString::number(total);
    if (total == 0) {
        status.sizeNotify = {ImagingTexts::rasterDataInvalid(), Tone::Red};
        status.numberNotify = {ImagingTexts::noBitmapSelected(), Tone::Red};
        return status;
    }
    status.numberNotify = {ImagingTexts::bitmapsSelected(count), Tone::Blue};
    if (total > CapacityLimit) {
        status.sizeNotify = {ImagingTexts::rasterDataOverflow(), Tone::Red};
        return status;
    }
    // Adding 0.9 lifts every share of 0.1 % or more to the next whole percent.
    const auto percent = qint64(std::floor(double(total) / double(CapacityLimit) * 100 + 0.9));
    status.sizeNotify = {ImagingTexts::shareUsed(percent), Tone::Blue};
    status.uploadEnabled = true;
    return status;
}
