#include "ImagingTexts.h"
#include "RasterFromImage.h"
#include "RasterPreview.h"
#include "TestPictures.h"
#include "modBitmap.h"

#include <gtest/gtest.h>

using namespace modBitmap;

namespace {

QByteArray recordOf(const QImage &picture)
{
    const RasterRecordResult result = rasterFromImage(picture);
    EXPECT_TRUE(result.ok()) << result.error.toStdString();
    return result.record;
}

QImage blackPicture(int width, int height)
{
    QImage picture(width, height, QImage::Format_RGB32);
    picture.fill(Qt::black);
    return picture;
}

QByteArray header(int x, int y)
{
    QByteArray bytes(4, '\0');
    bytes[0] = char(x % 256);
    bytes[1] = char(x / 256);
    bytes[2] = char(y % 256);
    bytes[3] = char(y / 256);
    return bytes;
}

TEST(RasterRecord, UnscaledBlackAndWhiteKeepsEveryPixel)
{
    const QImage glyph = glyphPicture();
    const QByteArray record = recordOf(glyph);
    // 24 x 16 pixels: X = 3, Y = 2, record extent 4 x 4, so 8 blank columns come first.
    ASSERT_EQ(record.size(), 4 + 4 * 4 * 8);
    EXPECT_EQ(record.left(4), header(4, 4));
    int black = 0;
    for (int row = 0; row < 16; ++row) {
        for (int column = 0; column < 24; ++column) {
            EXPECT_EQ(dotAt(record, 3, column, row), isBlack(glyph, column, row))
                << column << "," << row;
            black += isBlack(glyph, column, row);
        }
    }
    EXPECT_EQ(blackDots(record), black);
}

TEST(RasterRecord, CornerDotsLandInTheExactByteAndBit)
{
    QImage topLeft = whitePicture(24, 16);
    topLeft.setPixel(0, 0, qRgb(0, 0, 0));
    QByteArray expected(4 + 128, '\0');
    expected.replace(0, 4, header(4, 4));
    // Column 0 follows the 8 blank columns of 4 bytes each; the top dot is the MSB.
    expected[4 + 8 * 4] = char(0x80);
    EXPECT_EQ(recordOf(topLeft), expected);

    QImage bottomRight = whitePicture(24, 16);
    bottomRight.setPixel(23, 15, qRgb(0, 0, 0));
    expected.fill('\0');
    expected.replace(0, 4, header(4, 4));
    // Column 23, second byte (rows 8 to 15), lowest bit (row 15).
    expected[4 + (8 + 23) * 4 + 1] = char(0x01);
    EXPECT_EQ(recordOf(bottomRight), expected);
}

TEST(RasterRecord, BlankColumnsLeadAndBlankRowsTrail)
{
    // 90 x 90: X = Y = 11, extent 12 x 12: 8 blank columns, then 88 columns of 11 black bytes
    // and one blank byte.
    const QByteArray record = recordOf(blackPicture(90, 90));
    ASSERT_EQ(record.size(), 4 + 12 * 12 * 8);
    EXPECT_EQ(record.left(4), header(12, 12));
    const QByteArray data = record.mid(4);
    EXPECT_EQ(data.left(96), QByteArray(96, '\0'));
    const QByteArray column = QByteArray(11, char(0xFF)) + QByteArray(1, '\0');
    for (int i = 0; i < 88; ++i)
        ASSERT_EQ(data.mid(96 + i * 12, 12), column) << "column " << i;
}

TEST(RasterRecord, WorkedExampleSizes)
{
    struct Size
    {
        int width, height, x, y;
    };
    for (const Size s : {Size{512, 256, 64, 32}, Size{1024, 100, 64, 8}, Size{600, 300, 64, 32},
                         Size{100, 100, 12, 12}, Size{8, 8, 4, 4}, Size{640, 480, 64, 48},
                         Size{17, 25, 4, 4}, Size{1000, 15, 64, 4}}) {
        const QByteArray record = recordOf(blackPicture(s.width, s.height));
        EXPECT_EQ(record.size(), 4 + s.x * s.y * 8) << s.width << "x" << s.height;
        EXPECT_EQ(record.left(4), header(s.x, s.y)) << s.width << "x" << s.height;
    }
}

TEST(RasterRecord, EightByEightFillsTheFirstByteOfTheLastEightColumns)
{
    const QByteArray data = recordOf(blackPicture(8, 8)).mid(4);
    ASSERT_EQ(data.size(), 128);
    EXPECT_EQ(data.left(96), QByteArray(96, '\0'));
    for (int column = 0; column < 8; ++column)
        EXPECT_EQ(data.mid(96 + column * 4, 4), QByteArray("\xFF\0\0\0", 4));
}

TEST(RasterRecord, SourceRowsBeyondTheDrawnHeightAreDropped)
{
    // 1024 x 100 draws source rows 0 to 95 only.
    QImage picture = whitePicture(1024, 100);
    for (int row = 96; row < 100; ++row)
        for (int column = 0; column < 1024; ++column)
            picture.setPixel(column, row, qRgb(0, 0, 0));
    EXPECT_EQ(blackDots(recordOf(picture)), 0);
}

TEST(RasterRecord, RowsBelowThePicturePrintWhite)
{
    // 1000 x 15 draws 16 source rows onto 8 dot rows, so the last dot row averages picture
    // row 14 with a row of paper: dark grey and white give light grey, a white dot.
    QImage picture(1000, 15, QImage::Format_RGB32);
    picture.fill(Qt::black);
    for (int column = 0; column < 1000; ++column)
        picture.setPixel(column, 14, qRgb(100, 100, 100));
    const QByteArray record = recordOf(picture);
    for (int column = 0; column < 512; ++column) {
        for (int row = 0; row < 7; ++row)
            ASSERT_TRUE(dotAt(record, 64, column, row)) << column << "," << row;
        ASSERT_FALSE(dotAt(record, 64, column, 7)) << column;
    }
}

TEST(RasterRecord, ThinLinesSurviveShrinking)
{
    // Halved: a 1-pixel line on an odd and on an even row and column, which sampling every
    // other pixel would partly drop.
    QImage halved = whitePicture(1024, 512);
    for (int i = 0; i < 1024; ++i) {
        halved.setPixel(i, 201, qRgb(0, 0, 0));
        halved.setPixel(i, 300, qRgb(0, 0, 0));
    }
    for (int i = 0; i < 512; ++i) {
        halved.setPixel(401, i, qRgb(0, 0, 0));
        halved.setPixel(600, i, qRgb(0, 0, 0));
    }
    // Quartered: a 2-pixel line.
    QImage quartered = whitePicture(2048, 1024);
    for (int i = 0; i < 2048; ++i) {
        quartered.setPixel(i, 402, qRgb(0, 0, 0));
        quartered.setPixel(i, 403, qRgb(0, 0, 0));
    }
    const QByteArray halvedRecord = recordOf(halved);
    const QByteArray quarteredRecord = recordOf(quartered);
    ASSERT_EQ(halvedRecord.left(4), header(64, 32));
    ASSERT_EQ(quarteredRecord.left(4), header(64, 32));
    for (int i = 0; i < 512; ++i) {
        ASSERT_TRUE(dotAt(halvedRecord, 64, i, 100)) << i;
        ASSERT_TRUE(dotAt(halvedRecord, 64, i, 150)) << i;
        ASSERT_TRUE(dotAt(quarteredRecord, 64, i, 100)) << i;
    }
    for (int i = 0; i < 256; ++i) {
        ASSERT_TRUE(dotAt(halvedRecord, 64, 200, i)) << i;
        ASSERT_TRUE(dotAt(halvedRecord, 64, 300, i)) << i;
    }
    EXPECT_EQ(blackDots(halvedRecord), 2 * 512 + 2 * 256 - 4);
    EXPECT_EQ(blackDots(quarteredRecord), 512);
}

TEST(RasterRecord, TransparentPartsPrintWhite)
{
    // Fully transparent black pixels around an opaque black square.
    QImage picture(64, 64, QImage::Format_ARGB32);
    picture.fill(qRgba(0, 0, 0, 0));
    for (int row = 16; row < 48; ++row)
        for (int column = 16; column < 48; ++column)
            picture.setPixel(column, row, qRgba(0, 0, 0, 255));
    const QByteArray record = recordOf(picture);
    EXPECT_EQ(blackDots(record), 32 * 32);
    EXPECT_TRUE(dotAt(record, 8, 16, 16));
    EXPECT_FALSE(dotAt(record, 8, 15, 15));

    // Inverted, the square turns white and the transparent parts stay paper, white they hide.
    picture.fill(qRgba(255, 255, 255, 0));
    picture.setPixel(0, 0, qRgba(255, 255, 255, 255));
    ConversionChoices inverted;
    inverted.invert = true;
    EXPECT_EQ(blackDots(rasterFromImage(picture, inverted).record), 1);
}

TEST(RasterRecord, GreyThresholdsAtMidGrey)
{
    // Luminance (11r + 16g + 5b) / 32: 127 is black, 128 white, whatever the hue.
    QImage picture = whitePicture(32, 8);
    const QRgb samples[] = {qRgb(127, 127, 127), qRgb(128, 128, 128), qRgb(0, 0, 255),
                            qRgb(255, 255, 0)};
    for (int sample = 0; sample < 4; ++sample)
        for (int row = 0; row < 8; ++row)
            for (int column = 0; column < 8; ++column)
                picture.setPixel(sample * 8 + column, row, samples[sample]);
    const QByteArray record = recordOf(picture);
    EXPECT_EQ(blackDots(record), 2 * 64);
    EXPECT_TRUE(dotAt(record, 4, 0, 0));
    EXPECT_FALSE(dotAt(record, 4, 8, 0));
    EXPECT_TRUE(dotAt(record, 4, 16, 0));  // blue: 39
    EXPECT_FALSE(dotAt(record, 4, 24, 0)); // yellow: 215
}

TEST(RasterRecord, EmptyExtentsAreRefusedWithAReason)
{
    // A picture made flat only by the printer's width names the width it needs.
    const std::pair<QImage, QString> cases[] = {
        {blackPicture(7, 50), QStringLiteral("too small")},
        {blackPicture(1000, 14), ImagingTexts::tooNarrow(512, 536)},
        {QImage(), QStringLiteral("too small")},
    };
    for (const auto &[picture, reason] : cases) {
        const RasterRecordResult result = rasterFromImage(picture);
        EXPECT_FALSE(result.ok());
        EXPECT_TRUE(result.record.isEmpty());
        EXPECT_TRUE(result.error.contains(reason)) << result.error.toStdString();
    }
}

TEST(RasterPreview, ShowsTheRecordAsPrinted)
{
    const QImage glyph = glyphPicture();
    const QImage printed = rasterRecordToImage(recordOf(glyph));
    ASSERT_EQ(printed.size(), QSize(32, 32));
    for (int row = 0; row < 32; ++row) {
        for (int column = 0; column < 32; ++column) {
            // The picture stands after the 8 blank columns and above the blank rows.
            const bool inPicture = column >= 8 && row < 16;
            const bool expected = inPicture && isBlack(glyph, column - 8, row);
            EXPECT_EQ(qGray(printed.pixel(column, row)) < 128, expected) << column << "," << row;
        }
    }
}

TEST(RasterPreview, MalformedRecordsGiveNoImage)
{
    EXPECT_TRUE(rasterRecordToImage(QByteArray()).isNull());
    EXPECT_TRUE(rasterRecordToImage(QByteArray("\x04\x00\x04", 3)).isNull());
    EXPECT_TRUE(rasterRecordToImage(header(4, 4) + QByteArray(127, '\0')).isNull());
    EXPECT_TRUE(rasterRecordToImage(header(4, 4) + QByteArray(129, '\0')).isNull());
    EXPECT_TRUE(rasterRecordToImage(header(0, 4)).isNull());
    EXPECT_FALSE(rasterRecordToImage(header(4, 4) + QByteArray(128, '\0')).isNull());
}

} // namespace
