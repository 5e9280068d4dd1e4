#include "GraphicDots.h"
#include "RasterFromImage.h"
#include "TestPictures.h"

#include <QRandomGenerator>

#include <gtest/gtest.h>

using namespace modBitmap;

namespace {

bool rowDot(const QByteArray &rows, int X, int column, int row)
{
    return uchar(rows.at(qsizetype(row) * X + column / 8)) & (0x80 >> (column % 8));
}

QImage randomDots(int width, int height)
{
    QRandomGenerator random(7);
    QImage picture = whitePicture(width, height);
    for (int row = 0; row < height; ++row)
        for (int column = 0; column < width; ++column)
            if (random.bounded(2))
                picture.setPixel(column, row, qRgb(0, 0, 0));
    return picture;
}

TEST(GraphicDots, AreThePicturesDotsUprightWithoutTheRecordsPadding)
{
    // 24 x 16 and 40 x 24 leave blank columns and rows in the record; 512 x 32 leaves none.
    for (const QImage &picture : {glyphPicture(), randomDots(40, 24), randomDots(512, 32)}) {
        SCOPED_TRACE(picture.width());
        const RasterRecordResult raster = rasterFromImage(picture);
        ASSERT_TRUE(raster.ok());
        const RasterExtent extent{picture.width() / 8, picture.height() / 8};
        const std::optional<QByteArray> rows = graphicDots(raster.record, extent);
        ASSERT_TRUE(rows);
        ASSERT_EQ(rows->size(), picture.width() / 8 * picture.height());
        for (int row = 0; row < picture.height(); ++row)
            for (int column = 0; column < picture.width(); ++column)
                ASSERT_EQ(rowDot(*rows, extent.X, column, row), isBlack(picture, column, row))
                    << column << "," << row;
    }
}

TEST(GraphicDots, NothingForARecordOfAnotherExtent)
{
    const QByteArray record = rasterFromImage(glyphPicture()).record;
    EXPECT_TRUE(graphicDots(record, {3, 2}));
    EXPECT_TRUE(graphicDots(record, {4, 4}));
    EXPECT_FALSE(graphicDots(record, {5, 2}));
    EXPECT_FALSE(graphicDots(record, {0, 2}));
    EXPECT_FALSE(graphicDots(record.left(record.size() - 1), {3, 2}));
    QByteArray wrongHeader = record;
    wrongHeader[2] = 8;
    EXPECT_FALSE(graphicDots(wrongHeader, {3, 2}));
}

} // namespace
