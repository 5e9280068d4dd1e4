#include "PictureOrientation.h"
#include "RasterFromImage.h"
#include "TestPictures.h"
#include "modBitmap.h"

#include <gtest/gtest.h>

using namespace modBitmap;

namespace {

// Where the dot at (x, y) of a w x h picture lands, turned clockwise.
QPoint turned(QPoint dot, QSize size, int degrees)
{
    const auto [x, y] = std::pair(dot.x(), dot.y());
    switch (degrees) {
    case 90:
        return {size.height() - 1 - y, x};
    case 180:
        return {size.width() - 1 - x, size.height() - 1 - y};
    case 270:
        return {y, size.width() - 1 - x};
    }
    return dot;
}

// The glyph is neither symmetric nor square, so every turn and the inversion show in its bits;
// the record and the size from the file's header agree on the turned extent.
TEST(Orientation, InvertAndEachTurnMoveEveryDotWhereItBelongs)
{
    const QImage glyph = glyphPicture();
    QTemporaryDir dir;
    const QString file = savePicture(dir, QStringLiteral("glyph.png"), glyph);
    for (const bool invert : {false, true}) {
        for (const int degrees : {0, 90, 180, 270}) {
            SCOPED_TRACE(testing::Message() << "invert " << invert << ", " << degrees);
            const QImage oriented = orientedPicture(glyph, invert, degrees);
            ASSERT_EQ(oriented.size(), orientedSize(glyph.size(), degrees));
            for (int y = 0; y < glyph.height(); ++y) {
                for (int x = 0; x < glyph.width(); ++x) {
                    const QPoint to = turned({x, y}, glyph.size(), degrees);
                    ASSERT_EQ(isBlack(oriented, to.x(), to.y()), isBlack(glyph, x, y) != invert);
                }
            }
            ConversionChoices choices;
            choices.invert = invert;
            choices.rotationDegrees = degrees;
            const RasterRecordResult record = rasterFromImage(glyph, choices);
            ASSERT_TRUE(record.ok());
            const QByteArray expected = rasterFromImage(oriented).record;
            EXPECT_EQ(record.record, expected);
            const RasterSizeResult size = RasterSize(file, DefaultWidthDots, degrees);
            EXPECT_EQ(size.extent.X, record.extent.X);
            EXPECT_EQ(size.extent.Y, record.extent.Y);
            EXPECT_EQ(BitmapToRaster(file, choices).record, expected);
        }
    }
    EXPECT_EQ(orientedPicture(glyph, false, 0).constBits(), glyph.constBits());
}

} // namespace
