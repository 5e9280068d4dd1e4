#include "CliHarness.h"

#include "CliTexts.h"
#include "RasterPreview.h"
#include "TransferTexts.h"

#include <QRegularExpression>

namespace {

using CliTransfer = PrinterTest;

TEST_F(CliTransfer, UploadOfOnePictureSendsHeaderRecordAndFinish)
{
    const QImage picture = noisePicture(8, 8, 1);
    const QString path = save(picture, "tiny.bmp");
    const QByteArray record = recordOf(path);
    // The record is checked against the picture itself, not only against the library.
    ASSERT_EQ(dotDifference(rasterRecordToImage(record), printedUnscaled(picture)), "");

    // stdin is no terminal, so the prompt is shown without waiting even without --yes.
    const ProgramRun run = runOrvane({"upload", "--port", pty, path});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(TransferTexts::ResetPrompt)) << run.err.toStdString();
    EXPECT_TRUE(run.err.contains(TransferTexts::Done)) << run.err.toStdString();

    const QByteArray expected = uploadStream({record});
    ASSERT_EQ(expected.size(), BeforeJob.size() + 3 + 4 + 128 + 5 + DeliveryQuestion.size());
    EXPECT_EQ(printer.streamOfSize(expected.size()), expected);
    EXPECT_TRUE(logHas("FS q: stored 1 NV image (32x32 dots)")) << printer.log().toStdString();
    EXPECT_TRUE(logHas("GS BEL 02 01 01: finish")) << printer.log().toStdString();
}

// One picture wider than tall and unscaled, one scaled with grey, one needing blank columns.
TEST_F(CliTransfer, UploadedPicturesPrintAsRasterAndPreviewShowThem)
{
    const QList<QImage> pictures{noisePicture(512, 256, 2), shadedPicture(90, 90),
                                 noisePicture(8, 8, 3)};
    const QStringList paths{save(pictures[0], "wide.bmp"), save(pictures[1], "shaded.png"),
                            save(pictures[2], "tiny.png")};
    QList<QByteArray> records;
    for (const QString &path : paths)
        records << recordOf(path);

    const ProgramRun upload = runOrvane(QStringList{"upload", "--port", pty, "--yes"} + paths);
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    const QByteArray uploaded = uploadStream(records);
    const QByteArray sent = printer.streamOfSize(uploaded.size());
    EXPECT_EQ(sent, uploaded);
    EXPECT_TRUE(logHas("FS q: stored 3 NV images (512x256, 96x96, 32x32 dots)"))
        << printer.log().toStdString();

    qsizetype offset = BeforeJob.size() + 3;
    for (int i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i].toStdString());
        const QString file = picturePath(QStringLiteral("raster-%1.bin").arg(i));
        const ProgramRun raster = runOrvane({"raster", paths[i], "-o", file});
        EXPECT_EQ(raster.exitCode, 0) << raster.err.toStdString();
        const QByteArray written = readFile(file);
        EXPECT_EQ(written, records[i]);
        EXPECT_EQ(sent.mid(offset, written.size()), written);
        offset += written.size();
    }

    const ProgramRun print = runOrvane({"print", "--port", pty});
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
    EXPECT_EQ(printer.streamOfSize(uploaded.size() + printStream().size()),
              uploaded + printStream());
    ASSERT_TRUE(logHas("FS p: no NV image 255")) << printer.log().toStdString();
    EXPECT_TRUE(
        printer.log().contains("FS p: printed NV image 3 as print-0003-nv03.png (32x32, mode 0)\n"
                               "FS p: no NV image 4\n"))
        << printer.log().toStdString();

    for (int i = 0; i < paths.size(); ++i) {
        SCOPED_TRACE(paths[i].toStdString());
        const QString file = picturePath(QStringLiteral("preview-%1.png").arg(i));
        const ProgramRun preview = runOrvane({"preview", paths[i], "-o", file});
        EXPECT_EQ(preview.exitCode, 0) << preview.err.toStdString();
        const QImage shown(file);
        EXPECT_EQ(dotDifference(shown, rasterRecordToImage(records[i])), "");
        const QImage printed(printer.outPath(QStringLiteral("print-%1-nv%2.png")
                                                 .arg(i + 1, 4, 10, QLatin1Char('0'))
                                                 .arg(i + 1, 2, 10, QLatin1Char('0'))));
        EXPECT_EQ(dotDifference(printed, shown), "");
    }
    EXPECT_EQ(dotDifference(QImage(picturePath("preview-0.png")), pictures[0]), "");
    EXPECT_EQ(dotDifference(QImage(picturePath("preview-2.png")), printedUnscaled(pictures[2])),
              "");
}

TEST_F(CliTransfer, PrintSendsFsPForEveryImageNumber)
{
    const ProgramRun run = runOrvane({"print", "--port", pty});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    const QByteArray expected = printStream();
    ASSERT_EQ(expected.size(), BeforeJob.size() + 1020 + DeliveryQuestion.size());
    ASSERT_TRUE(logHas("FS p: no NV image 255")) << printer.log().toStdString();
    EXPECT_EQ(printer.stream(), expected);
    EXPECT_FALSE(run.err.contains(TransferTexts::Done));
}

TEST_F(CliTransfer, EraseSendsFsQZeroAndFinish)
{
    const ProgramRun run = runOrvane({"erase", "--port", pty});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    // The window's "Done!!" titled "Upload finished." would tell of an upload.
    EXPECT_EQ(run.err, CliTexts::Erased.arg(pty) + "\n");
    ASSERT_TRUE(logHas("GS BEL 02 01 01: finish")) << printer.log().toStdString();
    EXPECT_EQ(printer.stream(), QByteArray::fromHex("100401100402100404"
                                                    "1d284806003030") +
                                    "????" +
                                    QByteArray::fromHex("1c7100"
                                                        "1d07020101"
                                                        "1d284806003030") +
                                    "????");
    // The process ID is asked before the job, and again after it, answered in turn.
    const QString log = printer.log().replace(QRegularExpression("ID [0-9]{4} "), "ID ? ");
    EXPECT_EQ(log, "DLE EOT 1: answered 12\nDLE EOT 2: answered 12\n"
                   "DLE EOT 4: answered 12\nGS ( H 48: process ID ? answered\n"
                   "FS q: erased NV images\nGS BEL 02 01 01: finish\n"
                   "GS ( H 48: process ID ? answered\n");
}

} // namespace
