#include "CliHarness.h"

#include "TransferTexts.h"

#include <QFile>

namespace {

const QByteArray AskCapacity = QByteArray::fromHex("1D284C 0200 3030");
const QByteArray DeleteAll = QByteArray::fromHex("1D284C 0500 3041 434C52");

QStringList graphics(QStringList arguments)
{
    return arguments << "--nv"
                     << "graphics";
}

// Each define keeps the printer from reading for a while, as a flash being written does, and
// status blocks come unasked between the answers.
class CliGraphics : public PrinterTest
{
protected:
    QStringList printerOptions() const override { return {"--store-time", "0.3", "--asb"}; }

    QString status()
    {
        const ProgramRun run = runOrvane({"status", "--port", pty});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        return run.out;
    }
};

TEST_F(CliGraphics, StoresVerifiesPrintsAndErasesThreePictures)
{
    const QList<QImage> pictures{noisePicture(64, 32, 1), noisePicture(200, 16, 2),
                                 noisePicture(8, 8, 3)};
    const QStringList paths{save(pictures[0], "a.png"), save(pictures[1], "b.bmp"),
                            save(pictures[2], "c.png")};

    const ProgramRun upload = runOrvane(graphics({"upload", "--port", pty, "--yes"}) + paths);
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    EXPECT_TRUE(upload.err.contains(TransferTexts::verified(3))) << upload.err.toStdString();
    EXPECT_FALSE(upload.err.contains(TransferTexts::ResetPrompt));
    EXPECT_TRUE(status().endsWith("NV graphics stored: 01 02 03\n"));

    // Each key-list block was answered, so after status the print commands arrive whole.
    const ProgramRun print = runOrvane(graphics({"print", "--port", pty}));
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
    ASSERT_TRUE(logHas(R"(GS ( L: printed graphic "03" as print-0003-key03.png (8x8))"))
        << printer.log().toStdString();
    EXPECT_FALSE(printer.log().contains("instead of ACK")) << printer.log().toStdString();
    EXPECT_FALSE(printer.log().contains("unknown")) << printer.log().toStdString();
    for (int i = 0; i < pictures.size(); ++i) {
        const QString png = printer.outPath(QStringLiteral("print-000%1-key0%1.png").arg(i + 1));
        EXPECT_EQ(dotDifference(QImage(png), pictures[i]), "") << png.toStdString();
    }

    const ProgramRun erase = runOrvane(graphics({"erase", "--port", pty}));
    EXPECT_EQ(erase.exitCode, 0) << erase.err.toStdString();
    EXPECT_TRUE(status().endsWith("NV graphics stored: none\n"));
}

using CliGraphicsQuickFlash = PrinterTest;

TEST_F(CliGraphicsQuickFlash, TheKeysRunFrom01ToFF)
{
    const QString path = save(noisePicture(8, 8, 4), "tiny.png");
    const ProgramRun upload =
        runOrvane(graphics({"upload", "--port", pty, "--yes"}) + QStringList(255, path));
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    EXPECT_TRUE(upload.err.contains(TransferTexts::verified(255))) << upload.err.toStdString();
    // The list of 255 keys comes in blocks, each further one asked for.
    EXPECT_TRUE(logHas("key-list block, answered 40 keys, more follow"));
    EXPECT_TRUE(logHas("key-list block, answered 15 keys"));
    EXPECT_TRUE(logHas("ACK: the key list is over"));

    const ProgramRun print = runOrvane(graphics({"print", "--port", pty}));
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();
    ASSERT_TRUE(logHas(R"(GS ( L: printed graphic "FF" as print-0255-keyFF.png (8x8))"));
    for (const char *name :
         {"print-0001-key01.png", "print-0010-key0A.png", "print-0171-keyAB.png"})
        EXPECT_TRUE(QFile::exists(printer.outPath(name))) << name;
}

class CliGraphicsFailingFlash : public PrinterTest
{
protected:
    QStringList printerOptions() const override { return {"--failing-key", "02"}; }
};

TEST_F(CliGraphicsFailingFlash, AGraphicTheStoreDroppedFailsTheUploadNamingIt)
{
    const QString path = save(noisePicture(16, 8, 5), "logo.png");
    const ProgramRun upload =
        runOrvane(graphics({"upload", "--port", pty, "--yes", path, path, path}));
    EXPECT_EQ(upload.exitCode, 1);
    EXPECT_TRUE(upload.err.contains(TransferTexts::graphicsMissing({"02"}, 3)))
        << upload.err.toStdString();
    EXPECT_TRUE(logHas(R"(GS ( L: error: writing graphic "02" failed, stored nothing)"));
}

class CliGraphicsSmallStore : public PrinterTest
{
protected:
    QStringList printerOptions() const override { return {"--graphics-capacity", "3000"}; }
};

TEST_F(CliGraphicsSmallStore, ASetOverTheCapacityIsStoppedBeforeAnythingIsDeleted)
{
    const ProgramRun first = runOrvane(
        graphics({"upload", "--port", pty, "--yes", save(noisePicture(16, 8, 6), "a.png")}));
    ASSERT_EQ(first.exitCode, 0) << first.err.toStdString();
    const qsizetype before = printer.stream().size();

    const ProgramRun tooBig = runOrvane(
        graphics({"upload", "--port", pty, "--yes", save(noisePicture(512, 64, 7), "b.png")}));
    EXPECT_EQ(tooBig.exitCode, 1);
    EXPECT_TRUE(tooBig.err.contains(TransferTexts::graphicsDoNotFit(4120, 3000)))
        << tooBig.err.toStdString();
    const QByteArray asked = BeforeJob + AskCapacity;
    EXPECT_EQ(printer.streamOfSize(before + asked.size()).mid(before), asked);
    // Past the bit-image store's 2M the printer still judges, not "Raster Data Overflow!".
    const ProgramRun beyond2M =
        runOrvane(graphics({"upload", "--port", pty, "--yes"}) +
                  QStringList(65, save(noisePicture(512, 512, 8), "c.png")));
    EXPECT_TRUE(beyond2M.err.contains(TransferTexts::graphicsDoNotFit(65 * (32768 + 24), 3000)))
        << beyond2M.err.toStdString();

    const ProgramRun status = runOrvane({"status", "--port", pty});
    EXPECT_TRUE(status.out.endsWith("NV graphics stored: 01\n")) << status.out.toStdString();
}

class CliGraphicsSilent : public PrinterTest
{
protected:
    QStringList printerOptions() const override { return {"--silent"}; }
};

TEST_F(CliGraphicsSilent, DeletesOnlyWithYesAndTheUploadIsNotVerified)
{
    const QImage picture = noisePicture(8, 8, 8);
    const QString path = save(picture, "tiny.png");
    const ProgramRun refused = runOrvane(graphics({"upload", "--port", pty, path}));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(TransferTexts::deleteAllQuestion(1)))
        << refused.err.toStdString();
    EXPECT_TRUE(refused.err.contains(TransferTexts::deleteAllNotConfirmed()));
    const qsizetype before = printer.streamOfSize(SilentQuestion.size()).size();

    const ProgramRun upload = runOrvane(graphics({"upload", "--port", pty, "--yes", path}));
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    EXPECT_TRUE(upload.err.contains(TransferTexts::NotVerified)) << upload.err.toStdString();

    QByteArray define = QByteArray::fromHex("1D284C 1300 30 43 30 3031 01 0800 0800 31");
    for (int y = 0; y < 8; ++y) {
        int row = 0;
        for (int x = 0; x < 8; ++x)
            row = row << 1 | (qGray(picture.pixel(x, y)) < 128);
        define.append(char(row));
    }
    const QByteArray expected = SilentQuestion + DeleteAll + define;
    EXPECT_EQ(printer.streamOfSize(before + expected.size()).mid(before), expected);
    EXPECT_TRUE(logHas(R"(GS ( L: stored graphic "01" (8x8 dots, 8 bytes, raster))"));
}

TEST(CliGraphicsUsage, AnUnknownCommandSetIsAUsageErrorNamingTheChoices)
{
    for (const QStringList &job :
         {QStringList{"upload", "x.png"}, QStringList{"erase"}, QStringList{"print"}}) {
        const ProgramRun run =
            runOrvane(job + QStringList{"--port", "/dev/null", "--nv", "pictures"});
        EXPECT_EQ(run.exitCode, 2) << job[0].toStdString();
        EXPECT_TRUE(run.err.contains("--nv takes bit-image or graphics, not 'pictures'"))
            << run.err.toStdString();
    }
}

} // namespace
