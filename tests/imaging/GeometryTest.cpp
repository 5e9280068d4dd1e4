#include "RasterGeometry.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

using namespace modBitmap;

namespace {

struct Case
{
    qint64 width, height;
    qint32 X, Y;
    qint32 recordX, recordY;
    qint64 sourceRows;
};

class WorkedExamples : public testing::TestWithParam<Case>
{
};

TEST_P(WorkedExamples, ExtentRecordExtentAndSourceRows)
{
    const Case c = GetParam();
    const auto extent = rasterExtent(c.width, c.height);
    ASSERT_TRUE(extent);
    EXPECT_EQ(extent->X, c.X);
    EXPECT_EQ(extent->Y, c.Y);
    EXPECT_EQ(recordExtent(extent->X), c.recordX);
    EXPECT_EQ(recordExtent(extent->Y), c.recordY);
    if (c.X > 0) {
        EXPECT_EQ(sourceHeight(c.width, *extent), c.sourceRows);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, WorkedExamples,
    testing::Values(Case{512, 256, 64, 32, 64, 32, 256}, Case{1024, 100, 64, 6, 64, 8, 96},
                    Case{600, 300, 64, 32, 64, 32, 300}, Case{100, 100, 12, 12, 12, 12, 100},
                    Case{90, 90, 11, 11, 12, 12, 90}, Case{8, 8, 1, 1, 4, 4, 8},
                    Case{640, 480, 64, 48, 64, 48, 480},
                    // The source rows run one past the picture.
                    Case{17, 25, 2, 3, 4, 4, 26}, Case{1000, 15, 64, 1, 64, 4, 16},
                    // Too narrow or too flat to hold 8 dots.
                    Case{7, 50, 0, 0, 0, 0, 0}, Case{1000, 14, 64, 0, 64, 0, 0}),
    [](const testing::TestParamInfo<Case> &info) {
        return std::to_string(info.param.width) + "x" + std::to_string(info.param.height);
    });

TEST(RasterGeometry, RoundsHalfToEven)
{
    EXPECT_EQ(roundHalfEven(0.5), 0);
    EXPECT_EQ(roundHalfEven(1.5), 2);
    EXPECT_EQ(roundHalfEven(2.5), 2);
    EXPECT_EQ(roundHalfEven(25.5), 26);
    EXPECT_EQ(roundHalfEven(7.4999), 7);
}

TEST(RasterGeometry, ScaledSizeKeepsTheRoundedHeight)
{
    EXPECT_EQ(scaledPictureSize(4000, 3000), QSize(512, 384));
    EXPECT_EQ(scaledPictureSize(1024, 100), QSize(512, 50));
    EXPECT_EQ(scaledPictureSize(90, 90), QSize(88, 88));
}

TEST(RasterGeometry, SizesBeyond32BitsAreRefusedNotWrapped)
{
    constexpr qint64 int32Max = std::numeric_limits<qint32>::max();
    // 4,194,304 x 512 is the first height whose H x X x 8 leaves 32 bits.
    EXPECT_TRUE(rasterExtent(512, 4194303));
    EXPECT_FALSE(rasterExtent(512, 4194304));
    EXPECT_FALSE(rasterExtent(int32Max, int32Max));
    EXPECT_FALSE(rasterExtent(int32Max + 1, 100));
    EXPECT_FALSE(rasterExtent(0, 100));
    EXPECT_FALSE(rasterExtent(100, -1));
    const auto narrow = rasterExtent(7, int32Max);
    ASSERT_TRUE(narrow);
    EXPECT_EQ(narrow->X, 0);
    EXPECT_EQ(narrow->Y, 0);
}

} // namespace
