#include "CliHarness.h"

#include "CliTexts.h"
#include "ImagingTexts.h"

#include <QFile>
#include <QImageWriter>

namespace {

using CliMessages = PrinterTest;

// Each mistake is named as it was typed (exit 2, one line pointing at help), each outcome said.
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
    const QString network = "tcp://127.0.0.1:9";
    const struct
    {
        QStringList arguments;
        int exitCode;
        QString said;
    } cases[] = {
        {{"upload", "--port", pty, "--bogus", picture}, 2, CliTexts::UnknownOption.arg("--bogus")},
        {{"ports", "--help-all"}, 2, CliTexts::UnknownOption.arg("--help-all")},
        {{"preview", picture, "--dither", "-o", out},
         2,
         CliTexts::MissingValue.arg("--dither", "-o")},
        {{"preview", picture, "-o", picturePath("out.gif")},
         2,
         CliTexts::BadOutputFormat.arg(formats.join(", "), "out.gif")},
        {{"raster", wide, "--width", "8", "-o", out},
         1,
         "orvane: " + ImagingTexts::cannotConvert("wide.png", ImagingTexts::tooNarrow(8, 16))},
        {{"status", "--port", pty, "--port", pty}, 2, CliTexts::PortGivenTwice.arg(pty)},
        {{"print", "--port", network, "--port", "127.0.0.1:9"},
         2,
         CliTexts::SamePortTwice.arg(network, "127.0.0.1:9")},
        {{"discover", "127.0.0.0/8"}, 2, CliTexts::RangeTooWide.arg("127.0.0.0/8")},
        {{"discover", "::1"}, 2, CliTexts::RangeIsIPv6.arg("::1")},
        {{"discover", "till-3.local"}, 2, CliTexts::RangeIsHostName.arg("till-3.local")},
        {{"discover", "127.0.0.1", "--port-number", "9"},
         1,
         "orvane: " + CliTexts::NothingFound.arg("127.0.0.1", "9")},
        {{"erase", "--port", pty}, 0, CliTexts::Erased.arg(pty)},
        {{"print", "--port", pty}, 0, CliTexts::Printed.arg(pty)},
        {{"print", "--nv", "graphics", "--port", pty}, 0, CliTexts::NoGraphicsToPrint.arg(pty)},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.arguments.join(' ').toStdString());
        const ProgramRun run = runOrvane(c.arguments);
        EXPECT_EQ(run.exitCode, c.exitCode);
        const QString help = " (see: orvane " + c.arguments[0] + " --help)";
        EXPECT_EQ(run.err, (c.exitCode == 2 ? "orvane: " + c.said + help : c.said) + "\n");
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
    EXPECT_EQ(runOrvane({"preview", picture, "-o", picturePath("p.jpg")}).exitCode, 0);
    EXPECT_TRUE(readFile(picturePath("p.jpg")).startsWith("\xFF\xD8\xFF"));
}

} // namespace
