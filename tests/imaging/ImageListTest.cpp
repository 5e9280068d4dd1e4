#include "CapacityStatus.h"
#include "ImageTotal.h"
#include "TestPictures.h"
#include "modBitmap.h"

#include <gtest/gtest.h>

namespace {

TEST(FileNameFromPath, TakesThePartAfterTheLastSeparator)
{
    using modBitmap::FileNameFromPath;
    EXPECT_EQ(FileNameFromPath(QStringLiteral("C:\\pic.bmp")), QStringLiteral("pic.bmp"));
    EXPECT_EQ(FileNameFromPath(QStringLiteral("A:pic.bmp")), QStringLiteral("pic.bmp"));
    EXPECT_EQ(FileNameFromPath(QStringLiteral("C:\\logos\\shop:v2.bmp")),
              QStringLiteral("shop:v2.bmp"));
    EXPECT_EQ(FileNameFromPath(QStringLiteral("/home/u/logo.png")), QStringLiteral("logo.png"));
    EXPECT_EQ(FileNameFromPath(QStringLiteral("/home/u\\x/logo.png")), QStringLiteral("logo.png"));
    EXPECT_EQ(FileNameFromPath(QStringLiteral("pic.bmp")), QString());
    EXPECT_EQ(FileNameFromPath(QStringLiteral("C:\\logos\\")), QString());
    EXPECT_EQ(FileNameFromPath(QString()), QString());
}

// Both read-outs in their tones, and whether the upload may start.
void expectReadOuts(const CapacityStatus &status, const QString &size, Tone sizeTone,
                    const QString &number, Tone numberTone, bool uploadEnabled)
{
    EXPECT_EQ(status.sizeNotify.text, size);
    EXPECT_EQ(status.sizeNotify.tone, sizeTone);
    EXPECT_EQ(status.numberNotify.text, number);
    EXPECT_EQ(status.numberNotify.tone, numberTone);
    EXPECT_EQ(status.uploadEnabled, uploadEnabled);
}

void expectEmptyState(const CapacityStatus &status)
{
    expectReadOuts(status, QStringLiteral("Raster Data Invalid!"), Tone::Red,
                   QStringLiteral("No Bitmap selected!"), Tone::Red, false);
    EXPECT_EQ(status.toolTip, QStringLiteral("0"));
}

void expectFits(const CapacityStatus &status, const char *percent, const char *count)
{
    expectReadOuts(status, QString::fromLatin1(percent) + " % of 2M bytes used", Tone::Blue,
                   QString::fromLatin1(count) + " Bitmap selected.", Tone::Blue, true);
}

TEST(CapacityStatus, EmptyListAndListWithoutRasterData)
{
    expectEmptyState(capacityStatus(0, 0));
    // A single picture 7 pixels wide is listed but has no raster data.
    expectEmptyState(capacityStatus(0, 1));
}

TEST(CapacityStatus, PercentRoundsUpFromATenth)
{
    expectFits(capacityStatus(16384, 1), "1", "1");
    EXPECT_EQ(capacityStatus(16384, 1).toolTip, QStringLiteral("16384"));
    expectFits(capacityStatus(968, 1), "0", "1");
    expectFits(capacityStatus(2097, 1), "0", "1");
    expectFits(capacityStatus(2098, 1), "1", "1");
    expectFits(capacityStatus(17536, 2), "1", "2");
    expectFits(capacityStatus(CapacityLimit, 128), "100", "128");
}

TEST(CapacityStatus, OverflowPastTheLimit)
{
    const CapacityStatus status = capacityStatus(CapacityLimit + 1, 129);
    expectReadOuts(status, QStringLiteral("Raster Data Overflow!"), Tone::Red,
                   QStringLiteral("129 Bitmap selected."), Tone::Blue, false);
    EXPECT_EQ(status.toolTip, QStringLiteral("2097153"));
    // Far beyond 32 bits still reads as an overflow, not as a wrapped small total.
    EXPECT_FALSE(capacityStatus(qint64(1) << 40, 3).uploadEnabled);
    // One picture taller than a printer stores blocks the upload in either store.
    expectReadOuts(capacityStatus(18432, 2, 1), QStringLiteral("Picture Too Tall!"), Tone::Red,
                   QStringLiteral("2 Bitmap selected."), Tone::Blue, false);
    EXPECT_FALSE(graphicsCapacityStatus(18432, 2, 1).uploadEnabled);
}

// The 2M rule is the bit-image store's: NV graphics show their own total, up to 255 of them.
TEST(CapacityStatus, GraphicsShowTheirTotalAndCount)
{
    expectEmptyState(graphicsCapacityStatus(0, 0));
    const qint64 beyond2M = CapacityLimit + 104448;
    expectReadOuts(graphicsCapacityStatus(beyond2M, 255),
                   QStringLiteral("NV graphics: 2201600 bytes"), Tone::Blue,
                   QStringLiteral("255 graphics selected."), Tone::Blue, true);
    expectReadOuts(graphicsCapacityStatus(beyond2M, 256), QStringLiteral("More than 255 graphics!"),
                   Tone::Red, QStringLiteral("256 graphics selected."), Tone::Blue, false);
    EXPECT_EQ(graphicsCapacityStatus(beyond2M, 3).toolTip, QStringLiteral("2201600"));
}

TEST(CapacityStatus, ToneColours)
{
    EXPECT_EQ(windowsColour(Tone::Red), 0x0000FFu);
    EXPECT_EQ(windowsColour(Tone::Blue), 0xFF0000u);
    EXPECT_EQ(toneColour(Tone::Red), QColor(255, 0, 0));
    EXPECT_EQ(toneColour(Tone::Blue), QColor(0, 0, 255));
}

class ImageTotals : public testing::Test
{
protected:
    QTemporaryDir dir;
    QString logo = savePicture(dir, QStringLiteral("logo.bmp"), whitePicture(512, 256));
    QString small = savePicture(dir, QStringLiteral("small.png"), whitePicture(100, 100));
};

TEST_F(ImageTotals, FullStoreAndOneMore)
{
    QList<ListedPicture> paths;
    for (int i = 0; i < 128; ++i)
        paths << logo;
    ImageTotal sum = totalRasterSize(paths);
    EXPECT_EQ(sum.total, CapacityLimit);
    expectFits(capacityStatus(sum.total, int(paths.size())), "100", "128");

    paths << logo;
    sum = totalRasterSize(paths);
    EXPECT_EQ(sum.total, CapacityLimit + 16384);
    const CapacityStatus overflow = capacityStatus(sum.total, int(paths.size()));
    EXPECT_EQ(overflow.sizeNotify.text, QStringLiteral("Raster Data Overflow!"));
    EXPECT_EQ(overflow.numberNotify.text, QStringLiteral("129 Bitmap selected."));
    EXPECT_FALSE(overflow.uploadEnabled);

    paths.removeLast();
    sum = totalRasterSize(paths);
    expectFits(capacityStatus(sum.total, int(paths.size())), "100", "128");
}

TEST_F(ImageTotals, EachPictureCountsItsOwnExtent)
{
    modBitmap::ConversionChoices narrowPrinter;
    narrowPrinter.widthDots = 384;
    const ImageTotal sum = totalRasterSize({logo, small, {logo, narrowPrinter}});
    EXPECT_EQ(sum.total, 16384 + 1152 + 48 * 24 * 8);
    EXPECT_TRUE(sum.unreadable.isEmpty());
    EXPECT_EQ(totalRasterSize({}).total, 0);
}

TEST_F(ImageTotals, UnreadableEntriesCountZeroAndAreNamed)
{
    const QString missing = dir.filePath(QStringLiteral("gone.bmp"));
    const QByteArray bmp = craftBmp(whitePicture(64, 64), 24);
    const QString cut = writeFile(dir, QStringLiteral("cut.bmp"), bmp.left(bmp.size() / 2));
    const QString narrow =
        writeFile(dir, QStringLiteral("narrow.bmp"), craftBmp(whitePicture(7, 50), 1));

    const ImageTotal sum = totalRasterSize({logo, missing, cut, narrow, logo});
    EXPECT_EQ(sum.total, 2 * 16384);
    EXPECT_EQ(sum.unreadable, QStringList({missing, cut}));
    expectEmptyState(capacityStatus(totalRasterSize({narrow}).total, 1));
}

} // namespace
