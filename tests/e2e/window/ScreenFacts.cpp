#include "ScreenFacts.h"

#include <algorithm>
#include <cstdlib>

namespace ScreenFacts {
namespace {

bool standsOut(QRgb pixel, QRgb background)
{
    // Button faces shade a little off the background; frames differ by far more.
    constexpr int Threshold = 24;
    return std::abs(qRed(pixel) - qRed(background)) > Threshold ||
           std::abs(qGreen(pixel) - qGreen(background)) > Threshold ||
           std::abs(qBlue(pixel) - qBlue(background)) > Threshold;
}

} // namespace

bool isRed(QRgb pixel)
{
    return qRed(pixel) > 180 && qGreen(pixel) < 110 && qBlue(pixel) < 110;
}

bool isBlue(QRgb pixel)
{
    return qBlue(pixel) > 180 && qRed(pixel) < 110 && qGreen(pixel) < 110;
}

bool isBlack(QRgb pixel)
{
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 90;
}

bool isWhite(QRgb pixel)
{
    return std::min({qRed(pixel), qGreen(pixel), qBlue(pixel)}) == 255;
}

bool isInk(QRgb pixel)
{
    return std::max({qRed(pixel), qGreen(pixel), qBlue(pixel)}) < 215;
}

int count(const QImage &image, const QRect &area, PixelTest test)
{
    int passing = 0;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x)
            passing += test(image.pixel(x, y)) ? 1 : 0;
    }
    return passing;
}

QRect bounds(const QImage &image, const QRect &area, PixelTest test)
{
    QRect found;
    const QRect inside = area & image.rect();
    for (int y = inside.top(); y <= inside.bottom(); ++y) {
        for (int x = inside.left(); x <= inside.right(); ++x) {
            if (test(image.pixel(x, y)))
                found |= QRect(x, y, 1, 1);
        }
    }
    return found;
}

QStringList misplacedSides(const QImage &image, const QRect &rect, int sides)
{
    // The window's top-left corner holds no control.
    const QRgb background = image.pixel(0, 0);
    const QPoint middle = rect.center();
    struct Probe
    {
        Side side;
        const char *name;
        QPoint edge;
        QPoint outside;
    };
    const Probe probes[] = {
        {Left, "left", {rect.left(), middle.y()}, {rect.left() - 1, middle.y()}},
        {Top, "top", {middle.x(), rect.top()}, {middle.x(), rect.top() - 1}},
        {Right, "right", {rect.right(), middle.y()}, {rect.right() + 1, middle.y()}},
        {Bottom, "bottom", {middle.x(), rect.bottom()}, {middle.x(), rect.bottom() + 1}},
    };
    QStringList misplaced;
    for (const Probe &probe : probes) {
        if ((sides & probe.side) == 0)
            continue;
        if (!image.rect().contains(probe.edge) || !image.rect().contains(probe.outside) ||
            !standsOut(image.pixel(probe.edge), background) ||
            standsOut(image.pixel(probe.outside), background))
            misplaced << QLatin1String(probe.name);
    }
    return misplaced;
}

} // namespace ScreenFacts
