#include "PictureConverter.h"
#include "RasterFromImage.h"
#include "RasterGeometry.h"
#include "TestPictures.h"
#include "modBitmap.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <random>

using namespace modBitmap;

namespace {

ConversionChoices reducedBy(Reduction reduction, int thresholdLevel = DefaultThresholdLevel)
{
    ConversionChoices choices;
    choices.reduction = reduction;
    choices.thresholdLevel = thresholdLevel;
    return choices;
}

ConversionChoices widthOf(qint32 dots)
{
    ConversionChoices choices;
    choices.widthDots = dots;
    return choices;
}

QByteArray recordOf(const QImage &picture, const ConversionChoices &choices)
{
    const RasterRecordResult result = rasterFromImage(picture, choices);
    EXPECT_TRUE(result.ok()) << result.error.toStdString();
    return result.record;
}

QImage flatGrey(int width, int height, int grey)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(qRgb(grey, grey, grey));
    return picture;
}

// Rank of a dot in the Bayer matrix of the given size, by its recursion: flat grey 4k must leave
// white exactly the dots of rank below k, so the order in which they turn white is the pattern.
int bayerRank(int x, int y, int size = 8)
{
    constexpr int Two[2][2] = {{0, 2}, {3, 1}};
    return size == 1 ? 0 : Two[y % 2][x % 2] * size * size / 4 + bayerRank(x / 2, y / 2, size / 2);
}

TEST(Reduction, OrderedDotsFollowTheBayerRanks)
{
    for (int k = 0; k < 64; ++k) {
        const QByteArray record = recordOf(flatGrey(16, 16, 4 * k), reducedBy(Reduction::Ordered));
        for (int dot = 0; dot < 256; ++dot)
            ASSERT_EQ(dotAt(record, 2, dot % 16, dot / 16), bayerRank(dot % 8, dot / 16 % 8) >= k)
                << "grey " << 4 * k << ", dot " << dot;
    }
}

TEST(Reduction, GreyRampDensityFollowsTheGreyInEveryDitherMode)
{
    // 512 x 64, unscaled: column c is grey c / 2. Eight bands of 64 columns.
    QImage ramp(512, 64, QImage::Format_RGB32);
    for (int row = 0; row < 64; ++row)
        for (int column = 0; column < 512; ++column)
            ramp.setPixel(column, row, qRgb(column / 2, column / 2, column / 2));
    const auto densities = [&](Reduction reduction) {
        const QByteArray record = recordOf(ramp, reducedBy(reduction));
        QList<double> bands;
        for (int band = 0; band < 8; ++band) {
            int black = 0;
            for (int column = band * 64; column < (band + 1) * 64; ++column)
                for (int row = 0; row < 64; ++row)
                    black += dotAt(record, 64, column, row);
            bands << black / (64.0 * 64.0);
        }
        return bands;
    };
    const auto expected = [](int band) { return 1.0 - (band * 32 + 15.75) / 255.0; };
    for (Reduction reduction :
         {Reduction::FloydSteinberg, Reduction::Atkinson, Reduction::Ordered}) {
        const QList<double> bands = densities(reduction);
        for (int band = 0; band < 8; ++band) {
            if (band > 0) {
                EXPECT_LE(bands[band], bands[band - 1]) << int(reduction) << ", band " << band;
            }
            // Atkinson passes on only three quarters of the error: the mid-tones keep their
            // grey within a few percent, the deepest shadows and lightest greys run out.
            const bool atkinson = reduction == Reduction::Atkinson;
            if (!atkinson || (band >= 2 && band <= 5)) {
                EXPECT_NEAR(bands[band], expected(band), atkinson ? 0.05 : 0.03)
                    << int(reduction) << ", band " << band;
            }
        }
    }
    const QList<double> atkinson = densities(Reduction::Atkinson);
    EXPECT_EQ(atkinson.first(), 1.0);
    EXPECT_EQ(atkinson.last(), 0.0);
}

TEST(Reduction, ThresholdLevelMovesAFlatGreyAcrossTheBoundary)
{
    const QImage grey = flatGrey(64, 32, 150);
    const auto blackShare = [&](int level) {
        return blackDots(recordOf(grey, reducedBy(Reduction::Threshold, level))) / (64.0 * 32.0);
    };
    EXPECT_EQ(blackShare(DefaultThresholdLevel), 0.0);
    EXPECT_EQ(blackShare(150), 0.0);
    EXPECT_EQ(blackShare(151), 1.0);
    EXPECT_EQ(blackShare(200), 1.0);
    EXPECT_EQ(blackShare(0), 0.0);
    // Light grey prints at 200 and not at the default.
    EXPECT_EQ(blackDots(recordOf(flatGrey(64, 32, 190), reducedBy(Reduction::Threshold, 200))),
              64 * 32);
    EXPECT_EQ(blackDots(recordOf(flatGrey(64, 32, 190), {})), 0);
}

TEST(Reduction, UnscaledBlackAndWhiteStaysExactInEveryMode)
{
    std::mt19937 random(7);
    QImage noise(72, 40, QImage::Format_RGB32);
    for (int row = 0; row < 40; ++row)
        for (int column = 0; column < 72; ++column)
            noise.setPixel(column, row, random() % 2 ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    const QByteArray expected = recordOf(noise, {});
    for (int row = 0; row < 40; ++row)
        for (int column = 0; column < 72; ++column)
            ASSERT_EQ(dotAt(expected, 9, column, row), isBlack(noise, column, row));
    // Every level but 0, which leaves the paper blank, keeps black black and white white.
    QList<ConversionChoices> modes{reducedBy(Reduction::FloydSteinberg),
                                   reducedBy(Reduction::Atkinson), reducedBy(Reduction::Ordered)};
    for (int level : {1, DefaultThresholdLevel, MaxThresholdLevel})
        modes << reducedBy(Reduction::Threshold, level);
    for (ConversionChoices choices : modes) {
        for (qint32 width : {96, 384, 576}) {
            choices.widthDots = width;
            EXPECT_EQ(recordOf(noise, choices), expected)
                << "reduction " << int(choices.reduction) << " at level " << choices.thresholdLevel
                << ", width " << width;
        }
    }
}

TEST(PrinterWidth, TakesThePlaceOf512InTheGeometry)
{
    // At 384: X = 48 at most, the height scaled by the same factor.
    const QByteArray logo = recordOf(whitePicture(512, 256), widthOf(384));
    EXPECT_EQ(logo.left(4), QByteArray("\x30\x00\x18\x00", 4));
    EXPECT_EQ(logo.size(), 4 + 48 * 24 * 8);
    struct Case
    {
        qint64 width, height;
        qint32 dots, X, Y;
    };
    for (const Case c :
         {Case{4000, 3000, 384, 48, 36}, Case{1024, 100, 384, 48, 4}, Case{100, 100, 384, 12, 12},
          Case{600, 300, 576, 72, 36}, Case{640, 480, 576, 72, 54}, Case{90, 90, 8, 1, 1},
          Case{4000, 3000, 512, 64, 48}}) {
        const auto extent = rasterExtent(c.width, c.height, c.dots);
        ASSERT_TRUE(extent);
        EXPECT_EQ(extent->X, c.X) << c.width << "x" << c.height << " at " << c.dots;
        EXPECT_EQ(extent->Y, c.Y) << c.width << "x" << c.height << " at " << c.dots;
    }
    // 576 dots: x = 72 fits the header's low byte; a picture too flat for 8 dots says so.
    EXPECT_EQ(recordOf(whitePicture(640, 480), widthOf(576)).left(4),
              QByteArray("\x48\x00\x38\x00", 4));
    const RasterRecordResult flat = rasterFromImage(whitePicture(4000, 20), widthOf(384));
    EXPECT_TRUE(flat.error.contains(QStringLiteral("at most 384 dots")))
        << flat.error.toStdString();
}

TEST(PrinterWidth, NoRecordIsWiderThanThePrinter)
{
    // A picture wider than the printer, as wide, and 8 dots less: the blank columns that raise x
    // to a multiple of 4 stop at the printer's width; at 512 x is raised as it always was.
    for (qint32 dots = MinWidthDots; dots <= MaxWidthDots; dots += 8) {
        for (int width : {1000, dots, std::max(8, dots - 8)}) {
            const RasterRecordResult result =
                rasterFromImage(whitePicture(width, width), widthOf(dots));
            ASSERT_TRUE(result.ok()) << result.error.toStdString();
            const qint32 x = uchar(result.record.at(0)) + 256 * uchar(result.record.at(1));
            EXPECT_TRUE(x * 8 <= dots && x >= result.extent.X) << width << " pixels at " << dots;
            EXPECT_TRUE(dots != DefaultWidthDots || x == recordExtent(result.extent.X));
            EXPECT_EQ(result.record.size(), recordSize(result.extent, dots));
        }
    }
}

TEST(PictureConverter, GivesTheUploadsRecordForEveryChangeOfChoices)
{
    QTemporaryDir dir;
    QImage photo(1200, 900, QImage::Format_RGB32);
    for (int row = 0; row < 900; ++row)
        for (int column = 0; column < 1200; ++column)
            photo.setPixel(column, row, qRgb(column % 256, row % 256, (column + row) % 256));
    // A JPEG is decoded shrunk for its width, a PNG at full size.
    for (const QString &path : {savePicture(dir, QStringLiteral("photo.jpg"), photo, 90),
                                savePicture(dir, QStringLiteral("photo.png"), photo)}) {
        PictureConverter converter(path);
        for (const ConversionChoices &choices :
             {ConversionChoices{}, reducedBy(Reduction::Atkinson), widthOf(384), widthOf(576),
              reducedBy(Reduction::Threshold, 200), reducedBy(Reduction::FloydSteinberg)}) {
            const QByteArray previewed = converter.convert(choices).record;
            ASSERT_FALSE(previewed.isEmpty());
            EXPECT_EQ(previewed, BitmapToRaster(path, choices).record)
                << path.toStdString() << " at " << choices.widthDots;
        }
    }
}

} // namespace
