#include "CliHarness.h"

#include "CliTexts.h"
#include "ImagingTexts.h"
#include "TransferTexts.h"

#include <QFile>
#include <QFileInfo>

namespace {

using CliRefusal = PrinterTest;

TEST_F(CliRefusal, MissingPictureIsNamedAndNothingIsSent)
{
    const QString present = save(noisePicture(8, 8, 4), "present.bmp");
    const QString missing = picturePath("missing.png");
    const QString missingName = QFileInfo(missing).fileName();

    const ProgramRun upload = runOrvane({"upload", "--port", pty, "--yes", present, missing});
    EXPECT_EQ(upload.exitCode, 1);
    EXPECT_TRUE(upload.err.contains(missingName)) << upload.err.toStdString();
    expectNothingSent();

    for (const QString command : {"raster", "preview"}) {
        const QString target = picturePath(command + ".out");
        const ProgramRun run = runOrvane({command, missing, "-o", target});
        EXPECT_EQ(run.exitCode, 1) << command.toStdString();
        EXPECT_TRUE(run.err.contains(missingName)) << run.err.toStdString();
        EXPECT_FALSE(QFile::exists(target)) << command.toStdString();
    }
}

TEST_F(CliRefusal, PortThatDoesNotOpenFailsWithTheReason)
{
    const QString port = QStringLiteral("/dev/pts/999999");
    ASSERT_FALSE(QFile::exists(port));
    const QString picture = save(noisePicture(8, 8, 5), "picture.bmp");
    const QString notOpened = CliTexts::PortNotOpened.arg(port, QString());

    for (const QStringList &arguments :
         {QStringList{"upload", "--port", port, "--yes", picture},
          QStringList{"erase", "--port", port}, QStringList{"print", "--port", port}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ProgramRun run = runOrvane(arguments);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.err.contains(notOpened)) << run.err.toStdString();
        EXPECT_FALSE(run.err.contains(TransferTexts::Done)) << run.err.toStdString();
    }
}

TEST_F(CliRefusal, MoreThan255PicturesAreRefusedBeforeSending)
{
    const QString picture = save(noisePicture(8, 8, 6), "small.bmp");
    const QByteArray record = recordOf(picture);
    ASSERT_EQ(record.size(), 132);

    const ProgramRun refused =
        runOrvane(QStringList{"upload", "--port", pty, "--yes"} + QStringList(256, picture));
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(TransferTexts::tooManyPictures(256)))
        << refused.err.toStdString();
    expectNothingSent();

    // 255 is the most one count byte carries.
    const ProgramRun full =
        runOrvane(QStringList{"upload", "--port", pty, "--yes"} + QStringList(255, picture));
    EXPECT_EQ(full.exitCode, 0) << full.err.toStdString();
    const QByteArray expected = EraseStream + uploadStream(QList<QByteArray>(255, record));
    EXPECT_EQ(printer.streamOfSize(expected.size()), expected);
    EXPECT_EQ(quint8(expected[EraseStream.size() + 2]), 0xFF);
    EXPECT_TRUE(printer.waitForLog("FS q: stored 255 NV images (")) << printer.log().toStdString();
}

TEST_F(CliRefusal, OverflowingSetIsRefusedBeforeSending)
{
    // 129 records of 64 x 32 x 8 bytes pass 2 MB by one record.
    const QString picture = save(noisePicture(512, 256, 7), "full-width.bmp");
    const ProgramRun run =
        runOrvane(QStringList{"upload", "--port", pty, "--yes"} + QStringList(129, picture));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(CliTexts::UploadRefused.arg(ImagingTexts::rasterDataOverflow())))
        << run.err.toStdString();
    expectNothingSent();
}

TEST(CliUsage, WrongUsageExitsWithTwo)
{
    const QString port = QStringLiteral("/dev/pts/999999");
    const QString picture = QStringLiteral("picture.bmp");
    for (const QStringList &arguments : {
             QStringList{"upload", picture},
             QStringList{"erase"},
             QStringList{"print", "--baud", "9600"},
             QStringList{"upload", "--port", port},
             QStringList{"upload", "--port", port, "--colour", picture},
             QStringList{"erase", "--port", port, picture},
             QStringList{"raster", picture},
             QStringList{"preview", "-o", "out.png"},
             QStringList{"ports", "extra"},
             QStringList{"frobnicate"},
         }) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ProgramRun run = runOrvane(arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_FALSE(run.err.isEmpty());
    }
}

TEST(CliUsage, HelpOfEverySubcommand)
{
    for (const QStringList &arguments :
         {QStringList{"--help"}, QStringList{"ports", "--help"}, QStringList{"raster", "--help"},
          QStringList{"preview", "--help"}, QStringList{"upload", "--help"},
          QStringList{"erase", "--help"}, QStringList{"print", "--help"}}) {
        SCOPED_TRACE(arguments.join(' ').toStdString());
        const ProgramRun run = runOrvane(arguments);
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        // The usage line reads as it must be typed, subcommand included.
        const QString usage = arguments.size() == 2 ? "Usage: orvane " + arguments[0] + " "
                                                    : QStringLiteral("Usage: orvane ");
        EXPECT_TRUE(run.out.startsWith(usage)) << run.out.toStdString();
    }
}

// The ports themselves depend on the machine.
TEST(CliUsage, PortsListsOneNamePerLine)
{
    const ProgramRun run = runOrvane({"ports"});
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    QStringList lines = run.out.split('\n');
    EXPECT_EQ(lines.takeLast(), "") << "the last line ends with a newline";
    for (const QString &line : lines)
        EXPECT_FALSE(line.trimmed().isEmpty()) << run.out.toStdString();
}

} // namespace
