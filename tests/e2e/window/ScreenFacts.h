#pragma once

#include <QImage>
#include <QRect>
#include <QStringList>

// Pixel facts about a screenshot of the window. Each holds only while the controls are drawn
// where they belong, and none depends on the fonts a machine has.
namespace ScreenFacts {

using PixelTest = bool (*)(QRgb);
bool isRed(QRgb pixel);
bool isBlue(QRgb pixel);
bool isBlack(QRgb pixel);
bool isWhite(QRgb pixel);
// Darker than anything but text: frames, glyphs, greyed glyphs.
bool isInk(QRgb pixel);

int count(const QImage &image, const QRect &area, PixelTest test);
// The smallest rectangle holding every passing pixel of `area`; null when none passes.
QRect bounds(const QImage &image, const QRect &area, PixelTest test);

enum Side { Left = 1, Top = 2, Right = 4, Bottom = 8, AllSides = 15 };
// The sides of `rect` drawn elsewhere: at the middle of each side the pixel on the edge must
// stand out from the window's background and the pixel just outside must not.
QStringList misplacedSides(const QImage &image, const QRect &rect, int sides = AllSides);

} // namespace ScreenFacts
