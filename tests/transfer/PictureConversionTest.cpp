#include "PictureConversion.h"
#include "PortLink.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "StatusQuestions.h"
#include "TransferOperations.h"
#include "TransferTexts.h"
#include "modBitmap.h"

#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using modBitmap::ConversionChoices;
using modBitmap::Reduction;

namespace {

const QString Port = QStringLiteral("COM1:");

class PictureConversionTest : public ::testing::Test
{
protected:
    // A grey gradient, so that every reduction gives other dots.
    QString picture(const QString &name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        for (int row = 0; row < height; ++row)
            for (int column = 0; column < width; ++column)
                image.setPixel(column, row, qRgb(column * 255 / width, row * 255 / height, 128));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path));
        return path;
    }

    QTemporaryDir dir;
    ScriptedSerialControl control;
    PortLink link{control, [](const QString &) {}};
    RecordingTransferHost host;
    TransferOperations operations{link, host};
};

TEST_F(PictureConversionTest, ConvertsTheWholeSetAsChosenBeforeTheLinkOpens)
{
    ConversionChoices narrowAtkinson;
    narrowAtkinson.reduction = Reduction::Atkinson;
    narrowAtkinson.widthDots = 384;
    ConversionChoices lightThreshold;
    lightThreshold.thresholdLevel = 200;
    const QList<ListedPicture> pictures{
        {picture(QStringLiteral("a.png"), 600, 400), narrowAtkinson},
        {picture(QStringLiteral("b.bmp"), 64, 64)},
        {picture(QStringLiteral("c.jpg"), 800, 300), lightThreshold}};
    int conversionEndsAtFirstByte = -1;
    control.setOnOutput([&](const QByteArray &) {
        if (conversionEndsAtFirstByte < 0)
            conversionEndsAtFirstByte = host.conversionEnds();
    });

    ASSERT_EQ(operations.upload(pictures, Port, QStringLiteral("9600")).outcome,
              TransferOutcome::Succeeded);
    EXPECT_EQ(conversionEndsAtFirstByte, 1);
    EXPECT_EQ(host.conversionEnds(), 1);
    QByteArray expected = BeforeJob + QByteArray("\x1C\x71\x03", 3);
    for (const ListedPicture &listed : pictures)
        expected += modBitmap::BitmapToRaster(listed.path, listed.choices).record;
    EXPECT_EQ(maskedIds(control.sent()),
              expected + QByteArray("\x1D\x07\x02\x01\x01", 5) + DeliveryQuestion);
    // Whatever the workers' pace, the progress counts up through the list.
    QStringList sorted = host.conversionProgress();
    sorted.removeDuplicates();
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, host.conversionProgress());
    for (const QString &shown : host.conversionProgress())
        EXPECT_TRUE(QStringList({"1/3", "2/3", "3/3"}).contains(shown)) << shown.toStdString();
}

TEST_F(PictureConversionTest, AStopOrABadPictureEndsTheConversionAndOpensNoLink)
{
    const QString good = picture(QStringLiteral("good.png"), 64, 64);
    const QString narrow = picture(QStringLiteral("narrow.png"), 7, 64);
    const QString missing = dir.filePath(QStringLiteral("missing.png"));

    // The first bad picture in list order is the one named.
    const ConvertedPictures refused = convertPictures({good, narrow, missing, good}, host);
    EXPECT_TRUE(refused.records.isEmpty());
    EXPECT_FALSE(refused.stopped);
    EXPECT_TRUE(refused.error.contains(narrow)) << refused.error.toStdString();

    host.requestStop();
    const TransferResult stopped = operations.upload({good, good}, Port, QStringLiteral("9600"));
    EXPECT_EQ(stopped.outcome, TransferOutcome::Failed);
    EXPECT_EQ(stopped.message, TransferTexts::Stopped);
    EXPECT_TRUE(control.writes().isEmpty());
    EXPECT_TRUE(host.messages().isEmpty());
    EXPECT_EQ(host.conversionEnds(), 2);
}

} // namespace
