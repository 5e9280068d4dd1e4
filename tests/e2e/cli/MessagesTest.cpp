#include "CliHarness.h"

#include "CliTexts.h"
#include "ImagingTexts.h"

#include <QFile>
#include <QImageWriter>

namespace {

using CliMessages = PrinterTest;

// Each mistake is named as it was typed, each erase or print says what it did.
TEST_F(CliMessages, NameTheRealMistakeAndTellWhatWasDone)
{
    const QString picture = save(noisePicture(16, 16, 11), "small.png");
    QImage large(4000, 3000, QImage::Format_Mono);
    large.fill(1);
    const QString wide = save(large, "wide.png");
    const QString out = picturePath("out.png");
    QStringList formats;
    for (const QByteArray &format : QImageWriter::supportedImageFormats())
        formats << format;
    const auto usage = [](const QString &command, const QString &mistake) {
        return "orvane: " + mistake + " (see: orvane " + command + " --help)\n";
    };
    const QString network = "tcp://127.0.0.1:9";
    const struct
    {
        QStringList arguments;
        int exitCode;
        QString err;
    } cases[] = {
        {{"upload", "--port", pty, "--bogus", picture},
         2,
         usage("upload", CliTexts::UnknownOption.arg("--bogus"))},
        {{"ports", "--help-all"}, 2, usage("ports", CliTexts::UnknownOption.arg("--help-all"))},
        {{"preview", picture, "--dither", "-o", out},
         2,
         usage("preview", CliTexts::MissingValue.arg("--dither", "-o"))},
        {{"preview", picture, "-o", picturePath("out.gif")},
         2,
         usage("preview", CliTexts::BadOutputFormat.arg(formats.join(", "), "out.gif"))},
        {{"raster", wide, "--width", "8", "-o", out},
         1,
         "orvane: " + ImagingTexts::cannotConvert("wide.png", ImagingTexts::tooNarrow(8, 16)) +
             "\n"},
        {{"status", "--port", pty, "--port", pty},
         2,
         usage("status", CliTexts::PortGivenTwice.arg(pty))},
        {{"print", "--port", network, "--port", "127.0.0.1:9"},
         2,
         usage("print", CliTexts::SamePortTwice.arg(network, "127.0.0.1:9"))},
        {{"discover", "127.0.0.0/8"},
         2,
         usage("discover", CliTexts::RangeTooWide.arg("127.0.0.0/8"))},
        {{"discover", "::1"}, 2, usage("discover", CliTexts::RangeIsIPv6.arg("::1"))},
        {{"discover", "till-3.local"},
         2,
         usage("discover", CliTexts::RangeIsHostName.arg("till-3.local"))},
        {{"erase", "--port", pty}, 0, CliTexts::Erased.arg(pty) + "\n"},
        {{"print", "--port", pty}, 0, CliTexts::Printed.arg(pty) + "\n"},
        {{"print", "--nv", "graphics", "--port", pty},
         0,
         CliTexts::NoGraphicsToPrint.arg(pty) + "\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramRun run = runOrvane(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_EQ(run.err, c.err);
    }
    EXPECT_FALSE(QFile::exists(out));
    EXPECT_FALSE(runOrvane({"erase", "--help"}).out.contains("--help-all"));

    // A preview's format follows its name; - is standard output.
    const ProgramRun piped = runProgram(
        "/bin/sh",
        {"-c", R"(exec "$0" preview "$1" -o - > "$2")", ORVANE_EXE, picture, picturePath("piped")},
        QProcessEnvironment::systemEnvironment(), 30000);
    EXPECT_EQ(piped.exitCode, 0) << piped.err.toStdString();
    EXPECT_TRUE(readFile(picturePath("piped")).startsWith("\x89PNG\r\n"));
    EXPECT_FALSE(QFile::exists(picturePath("-")));
    const ProgramRun jpeg = runOrvane({"preview", picture, "-o", picturePath("p.jpg")});
    EXPECT_EQ(jpeg.exitCode, 0) << jpeg.err.toStdString();
    EXPECT_TRUE(readFile(picturePath("p.jpg")).startsWith("\xFF\xD8\xFF"));
}

} // namespace
