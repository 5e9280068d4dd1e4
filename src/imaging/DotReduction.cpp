#include "DotReduction.h"

#include <algorithm>
#include <array>
#include <vector>

namespace modBitmap {
namespace {

QImage whiteDots(QSize size)
{
    QImage dots(size, QImage::Format_Mono);
    dots.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    dots.fill(0);
    return dots;
}

void setBlack(QImage &dots, int x, int y)
{
    dots.scanLine(y)[x >> 3] |= uchar(0x80 >> (x & 7));
}

// Each dot on its own: black when its luminance, weighted as Qt weighs it for its own 1-bit
// conversions ((11r + 16g + 5b) / 32), is below the level of its position.
template <typename Level> QImage belowLevel(const QImage &picture, Level level)
{
    QImage dots = whiteDots(picture.size());
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        for (int x = 0; x < picture.width(); ++x) {
            if (qGray(line[x]) < level(x, y))
                setBlack(dots, x, y);
        }
    }
    return dots;
}

// Ranks 0 to 63 of the 8 x 8 Bayer matrix.
constexpr std::array<std::array<int, 8>, 8> Bayer8{{
    {0, 32, 8, 40, 2, 34, 10, 42},
    {48, 16, 56, 24, 50, 18, 58, 26},
    {12, 44, 4, 36, 14, 46, 6, 38},
    {60, 28, 52, 20, 62, 30, 54, 22},
    {3, 35, 11, 43, 1, 33, 9, 41},
    {51, 19, 59, 27, 49, 17, 57, 25},
    {15, 47, 7, 39, 13, 45, 5, 37},
    {63, 31, 55, 23, 61, 29, 53, 21},
}};

// Levels 2, 6, ..., 254: the middle of 64 equal steps, so black stays black and white white.
int bayerLevel(int x, int y)
{
    return Bayer8[y & 7][x & 7] * 4 + 2;
}

// Atkinson's diffusion: an eighth of each dot's error to the next two dots of its row, the
// three below it and the one two rows down; the remaining quarter is dropped.
QImage atkinson(const QImage &picture)
{
    const int width = picture.width();
    QImage dots = whiteDots(picture.size());
    // The error carried into this row and the two below, with two spare cells at each end so
    // that neighbours past the edges need no test.
    constexpr int Margin = 2;
    std::array<std::vector<int>, 3> error;
    for (std::vector<int> &row : error)
        row.assign(size_t(width + 2 * Margin), 0);
    for (int y = 0; y < picture.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(picture.constScanLine(y));
        int *here = error[0].data() + Margin;
        int *below = error[1].data() + Margin;
        int *twoBelow = error[2].data() + Margin;
        for (int x = 0; x < width; ++x) {
            // In eighths of a grey step, so that no share is rounded away.
            const int value = 8 * qGray(line[x]) + here[x];
            const bool black = value < 8 * 128;
            if (black)
                setBlack(dots, x, y);
            const int share = (value - (black ? 0 : 8 * 255)) / 8;
            here[x + 1] += share;
            here[x + 2] += share;
            below[x - 1] += share;
            below[x] += share;
            below[x + 1] += share;
            twoBelow[x] += share;
        }
        std::rotate(error.begin(), error.begin() + 1, error.end());
        std::fill(error[2].begin(), error[2].end(), 0);
    }
    return dots;
}

} // namespace

QImage reduceToDots(const QImage &picture, const ConversionChoices &choices)
{
    const QImage opaque = picture.convertToFormat(QImage::Format_RGB32);
    switch (choices.reduction) {
    case Reduction::Threshold:
        return belowLevel(opaque, [level = choices.thresholdLevel](int, int) { return level; });
    case Reduction::FloydSteinberg:
        // Qt's own diffusion: Floyd-Steinberg on the same luminance, at level 128.
        return opaque.convertToFormat(QImage::Format_Mono, Qt::DiffuseDither);
    case Reduction::Atkinson:
        return atkinson(opaque);
    case Reduction::Ordered:
        return belowLevel(opaque, bayerLevel);
    }
    return QImage();
}

} // namespace modBitmap
