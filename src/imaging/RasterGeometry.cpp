#include "RasterGeometry.h"

#include <cmath>
#include <limits>

namespace modBitmap {

qint64 roundHalfEven(double value)
{
    return qint64(std::nearbyint(value)); // default rounding mode: to nearest, ties to even
}

std::optional<QSize> scaledPictureSize(qint64 width, qint64 height, qint32 widthDots)
{
    constexpr qint64 int32Max = std::numeric_limits<qint32>::max();
    if (width <= 0 || height <= 0 || width > int32Max || height > int32Max)
        return std::nullopt;
    const qint64 dotsWide = std::min<qint64>(width, widthDots) / 8 * 8;
    const qint64 s = height * dotsWide;
    if (s > int32Max)
        return std::nullopt;
    return QSize(int(dotsWide), int(roundHalfEven(double(s) / double(width))));
}

std::optional<RasterExtent> rasterExtent(qint64 width, qint64 height, qint32 widthDots)
{
    const auto scaled = scaledPictureSize(width, height, widthDots);
    if (!scaled)
        return std::nullopt;
    return RasterExtent{scaled->width() / 8, scaled->height() / 8};
}

qint64 sourceHeight(qint64 width, RasterExtent extent)
{
    return roundHalfEven(double(width) * extent.Y / extent.X);
}

} // namespace modBitmap
