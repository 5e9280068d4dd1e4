#include "CliHarness.h"

#include "CliTexts.h"
#include "RasterPreview.h"
#include "modBitmap.h"

#include <QFile>

namespace {

using modBitmap::ConversionChoices;
using modBitmap::Reduction;

using CliConversion = PrinterTest;

ConversionChoices choices(Reduction reduction, int thresholdLevel, qint32 widthDots)
{
    ConversionChoices chosen;
    chosen.reduction = reduction;
    chosen.thresholdLevel = thresholdLevel;
    chosen.widthDots = widthDots;
    return chosen;
}

QByteArray recordOf(const QString &path, const ConversionChoices &chosen)
{
    const modBitmap::RasterRecordResult raster = modBitmap::BitmapToRaster(path, chosen);
    EXPECT_TRUE(raster.ok()) << raster.error.toStdString();
    return raster.record;
}

TEST_F(CliConversion, OptionsChooseTheRecordOfRasterPreviewAndUpload)
{
    const QString shaded = save(shadedPicture(600, 400), "shaded.png");
    const QString file = picturePath("out.bin");

    const ProgramRun ordered =
        runOrvane({"raster", shaded, "--dither", "ordered", "--width", "384", "-o", file});
    EXPECT_EQ(ordered.exitCode, 0) << ordered.err.toStdString();
    const QByteArray narrow = recordOf(shaded, choices(Reduction::Ordered, 128, 384));
    EXPECT_EQ(readFile(file), narrow);
    EXPECT_EQ(narrow.left(4), QByteArray("\x30\x00\x20\x00", 4)); // x = 48, y = 32

    const ProgramRun light = runOrvane({"raster", shaded, "--threshold", "200", "-o", file});
    EXPECT_EQ(light.exitCode, 0) << light.err.toStdString();
    const QByteArray lightRecord = recordOf(shaded, choices(Reduction::Threshold, 200, 512));
    EXPECT_EQ(readFile(file), lightRecord);
    EXPECT_NE(lightRecord, recordOf(shaded, {}));

    const QString png = picturePath("preview.png");
    const ProgramRun preview =
        runOrvane({"preview", shaded, "--dither", "floyd-steinberg", "-o", png});
    EXPECT_EQ(preview.exitCode, 0) << preview.err.toStdString();
    const QImage expected =
        rasterRecordToImage(recordOf(shaded, choices(Reduction::FloydSteinberg, 128, 512)));
    EXPECT_EQ(dotDifference(QImage(png), expected), "");

    const QString tiny = save(noisePicture(8, 8, 9), "tiny.png");
    const ProgramRun upload = runOrvane(
        {"upload", "--port", pty, "--yes", "--dither", "atkinson", "--width", "576", shaded, tiny});
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    const ConversionChoices wide = choices(Reduction::Atkinson, 128, 576);
    const QByteArray stream = uploadStream({recordOf(shaded, wide), recordOf(tiny, wide)});
    EXPECT_EQ(printer.streamOfSize(stream.size()), stream);
}

TEST_F(CliConversion, WrongValuesAreUsageErrorsThatNameTheAllowedOnes)
{
    const QString picture = save(noisePicture(8, 8, 10), "picture.png");
    const QString target = picturePath("never");
    const QList<std::pair<QStringList, QString>> wrong{
        {{"--dither", "floyd"}, CliTexts::BadDither.arg("floyd")},
        {{"--threshold", "256"}, CliTexts::BadThreshold.arg("256")},
        {{"--threshold", "dark"}, CliTexts::BadThreshold.arg("dark")},
        {{"--dither", "ordered", "--threshold", "100"}, CliTexts::ThresholdWithoutNone},
        {{"--width", "100"}, CliTexts::BadWidth.arg("100")},
        {{"--width", "584"}, CliTexts::BadWidth.arg("584")},
        {{"--width", "0"}, CliTexts::BadWidth.arg("0")},
    };
    for (const auto &[options, message] : wrong) {
        for (const QStringList &command :
             {QStringList{"raster", picture, "-o", target},
              QStringList{"preview", picture, "-o", target},
              QStringList{"upload", "--port", pty, "--yes", picture}}) {
            const ProgramRun run = runOrvane(command + options);
            SCOPED_TRACE((command + options).join(' ').toStdString());
            EXPECT_EQ(run.exitCode, 2);
            EXPECT_TRUE(run.err.contains(message)) << run.err.toStdString();
        }
    }
    EXPECT_FALSE(QFile::exists(target));
    expectNothingSent();
}

} // namespace
