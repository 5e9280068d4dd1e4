#include "CapacityStatus.h"

#include "ImagingTexts.h"

#include <cmath>
#include <optional>

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
std::optional<CapacityStatus> emptyStatus(qint64 total)
{
    if (total != 0)
        return std::nullopt;
    CapacityStatus status;
    status.toolTip = QString::number(total);
    status.sizeNotify = {ImagingTexts::rasterDataInvalid(), Tone::Red};
    status.numberNotify = {ImagingTexts::noBitmapSelected(), Tone::Red};
    return status;
}

} // namespace

CapacityStatus capacityStatus(qint64 total, int count)
{
    if (auto empty = emptyStatus(total))
        return *empty;
    CapacityStatus status;
    status.toolTip = QString::number(total);
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

CapacityStatus graphicsCapacityStatus(qint64 total, int count)
{
    if (auto empty = emptyStatus(total))
        return *empty;
    CapacityStatus status;
    status.toolTip = QString::number(total);
    status.numberNotify = {ImagingTexts::graphicsSelected(count), Tone::Blue};
    if (count > MaxGraphicsCount) {
        status.sizeNotify = {ImagingTexts::tooManyGraphics(MaxGraphicsCount), Tone::Red};
        return status;
    }
    status.sizeNotify = {ImagingTexts::graphicsBytes(total), Tone::Blue};
    status.uploadEnabled = true;
    return status;
}
