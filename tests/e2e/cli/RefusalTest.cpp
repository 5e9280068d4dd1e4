#include "CliHarness.h"

#include "CliTexts.h"
#include "ImagingTexts.h"
#include "LinkTexts.h"
#include "TransferTexts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>

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

    // A PNG cut short is told in Orvane's words alone: libpng's own remark stays off stderr.
    QFile cut(picturePath("cut.png"));
    ASSERT_TRUE(cut.open(QIODevice::WriteOnly));
    cut.write(readFile(save(noisePicture(64, 64, 5), "whole.png")).chopped(40));
    cut.close();
    const ProgramRun damaged = runOrvane({"raster", cut.fileName(), "-o", picturePath("out")});
    EXPECT_EQ(damaged.exitCode, 1);
    EXPECT_EQ(damaged.err, "orvane: Cannot read picture cut.png: the picture data is damaged "
                           "(the file ends before the picture does)\n");
}

TEST_F(CliRefusal, PortThatDoesNotOpenFailsWithTheReasonInEnglish)
{
    const QString missing = QStringLiteral("/dev/pts/999999");
    ASSERT_FALSE(QFile::exists(missing));
    const QString picture = save(noisePicture(8, 8, 5), "picture.bmp");
    const struct
    {
        QString port;
        QString rate;
        QString reason;
    } cases[] = {
        {missing, "9600", missing + " does not exist"},
        {"COM5", "9600", LinkTexts::nameWithoutColon("COM5")},
        {pty, "fast", LinkTexts::badRate("fast")},
    };
    for (const auto &c : cases) {
        for (const QStringList &arguments : {QStringList{"upload", "--yes", picture},
                                             QStringList{"erase"}, QStringList{"print"}}) {
            SCOPED_TRACE((arguments + QStringList{c.port}).join(' ').toStdString());
            const ProgramRun run =
                runOrvane(arguments + QStringList{"--port", c.port, "--baud", c.rate});
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.err.contains(TransferTexts::linkNotOpened(c.port, c.reason)))
                << run.err.toStdString();
            // The link's own status texts stay in its trace.
            EXPECT_FALSE(run.err.contains(QStringLiteral("連接埠"))) << run.err.toStdString();
            EXPECT_FALSE(run.err.contains(TransferTexts::Done)) << run.err.toStdString();
        }
    }
    EXPECT_TRUE(printer.stream().isEmpty());
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
    EXPECT_EQ(quint8(expected[EraseStream.size() + BeforeJob.size() + 2]), 0xFF);
    EXPECT_TRUE(printer.waitForLog("FS q: stored 255 NV images (")) << printer.log().toStdString();
}

TEST_F(CliRefusal, OverflowingSetIsRefusedBeforeSending)
{
    // 129 records of 64 x 32 x 8 bytes pass 2 MB by one record.
    const QString picture = save(noisePicture(512, 256, 7), "full-width.bmp");
    const ProgramRun run =
        runOrvane(QStringList{"upload", "--port", pty, "--yes"} + QStringList(129, picture));
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains(CliTexts::UploadRefused.arg(
        CliTexts::StoreOverflow.arg(ImagingTexts::rasterDataOverflow(), "2113536", "2097152"))))
        << run.err.toStdString();

    // So is a picture taller than a printer stores, wherever it is converted.
    const QString tall = save(noisePicture(512, 2400, 7), "tall.png");
    const ProgramRun raster = runOrvane({"raster", tall, "-o", picturePath("out")});
    EXPECT_EQ(raster.exitCode, 1);
    EXPECT_TRUE(raster.err.contains(ImagingTexts::tooTall(512, 2400, 2304)));
    expectNothingSent();
}

// Every write failure ends with exit 1 and the operating system's reason, and leaves no file
// that looks complete: /dev/full, a folder nobody may write in (not even root: sysfs), and a
// disk that fills up half way (a file size limit) over an older file of the same name.
TEST_F(CliRefusal, WriteFailuresExitWithTheReasonAndLeaveNoFile)
{
    // Small enough for a buffer that would hide the failure until a flush nobody checks.
    const QString small = save(noisePicture(8, 8, 8), "small.png");
    const QString large = save(noisePicture(512, 256, 8), "large.png");
    const QString earlier = picturePath("earlier.out");
    for (const QString command : {"raster", "preview"}) {
        SCOPED_TRACE(command.toStdString());
        for (const QString &target :
             {QStringLiteral("/dev/full"), QStringLiteral("/sys/orvane.out")}) {
            const ProgramRun run = runOrvane({command, small, "-o", target});
            EXPECT_EQ(run.exitCode, 1);
            EXPECT_TRUE(run.err.contains(CliTexts::CannotWrite.arg(target, QString())))
                << run.err.toStdString();
            EXPECT_FALSE(run.err.contains(QStringLiteral("Unknown error")))
                << run.err.toStdString();
        }
        EXPECT_FALSE(QFileInfo(QStringLiteral("/dev/full")).isFile());
        EXPECT_FALSE(QFileInfo::exists(QStringLiteral("/sys/orvane.out")));

        QFile old(earlier);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly) && old.write("earlier") == 7);
        old.close();
        const QStringList files = QDir(picturePath(".")).entryList(QDir::Files);
        // A limit of 512 bytes: both outputs of the large picture take some 16 KB.
        const ProgramRun full =
            runProgram("/bin/sh",
                       {"-c", "ulimit -f 1 && trap '' XFSZ && exec \"$0\" \"$@\"", ORVANE_EXE,
                        command, large, "-o", earlier},
                       QProcessEnvironment::systemEnvironment(), 30000);
        EXPECT_EQ(full.exitCode, 1);
        EXPECT_TRUE(full.err.contains(CliTexts::CannotWrite.arg(earlier, qt_error_string(EFBIG))))
            << full.err.toStdString();
        EXPECT_EQ(readFile(earlier), "earlier");
        EXPECT_EQ(QDir(picturePath(".")).entryList(QDir::Files), files);
    }
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
        // One line naming the mistake and where help is, not the whole help.
        const QString help = arguments[0] == "frobnicate"
                                 ? "unknown subcommand 'frobnicate' (see: orvane --help)\n"
                                 : " (see: orvane " + arguments[0] + " --help)\n";
        EXPECT_TRUE(run.err.startsWith("orvane: ") && run.err.endsWith(help) &&
                    run.err.count('\n') == 1)
            << run.err.toStdString();
    }

    // Without a display the window cannot open: said so, and the subcommands pointed to.
    QProcessEnvironment headless = QProcessEnvironment::systemEnvironment();
    for (const char *name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
        headless.remove(QString::fromLatin1(name));
    const ProgramRun window = runProgram(QStringLiteral(ORVANE_EXE), {}, headless, 30000);
    EXPECT_EQ(window.exitCode, 1);
    EXPECT_EQ(window.err, "orvane: there is no display to open the window on; the subcommands "
                          "work without one (see: orvane --help)\n");
}

TEST(CliUsage, HelpOfEverySubcommand)
{
    for (const QStringList &arguments :
         {QStringList{"--help"}, QStringList{"ports", "--help"}, QStringList{"raster", "--help"},
          QStringList{"preview", "--help"}, QStringList{"upload", "--help"},
          QStringList{"erase", "--help"}, QStringList{"print", "--help"},
          QStringList{"status", "--help"}}) {
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
