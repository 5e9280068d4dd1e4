#pragma once

#include <QtGlobal>

namespace modBitmap {

// How the grey levels of a picture scaled to its dots become black and white dots.
enum class Reduction {
    Threshold,      // black below a fixed luminance level: right for line art and logos
    FloydSteinberg, // error diffusion
    Atkinson,       // error diffusion that drops a quarter of the error: crisper, lighter
    Ordered,        // a Bayer 8 x 8 pattern: regular, and steady across similar pictures
};

constexpr int DefaultThresholdLevel = 128;
constexpr int MaxThresholdLevel = 255;

// Printer widths: 384 dots for 58 mm paper, 512 and 576 for 80 mm. At 512 every record is
// what earlier versions stored.
constexpr qint32 DefaultWidthDots = 512;
constexpr qint32 MinWidthDots = 8;
constexpr qint32 MaxWidthDots = 576;

constexpr bool isThresholdLevel(qint64 level)
{
    return level >= 0 && level <= MaxThresholdLevel;
}

// A printer width: whole bytes of dots, from 8 to 576.
constexpr bool isWidthDots(qint64 dots)
{
    return dots >= MinWidthDots && dots <= MaxWidthDots && dots % 8 == 0;
}

// Clockwise turns of a picture before it is scaled.
constexpr bool isRotation(qint64 degrees)
{
    return degrees == 0 || degrees == 90 || degrees == 180 || degrees == 270;
}

// A quarter turn either way swaps the picture's width and height.
constexpr bool turnsSideways(int rotationDegrees)
{
    return rotationDegrees == 90 || rotationDegrees == 270;
}

struct ConversionChoices
{
    Reduction reduction = Reduction::Threshold;
    // Luminance below this prints black; used by Reduction::Threshold only.
    int thresholdLevel = DefaultThresholdLevel;
    qint32 widthDots = DefaultWidthDots;
    // Light and dark swapped, for logos delivered white on black.
    bool invert = false;
    // Clockwise, one of 0, 90, 180 and 270.
    int rotationDegrees = 0;

    bool operator==(const ConversionChoices &) const = default;
};

} // namespace modBitmap
