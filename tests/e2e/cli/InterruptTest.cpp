#include "CliHarness.h"

#include "PseudoTerminal.h"
#include "StopSignals.h"
#include "TransferTexts.h"

#include <csignal>

namespace {

using CliInterrupt = PrinterTest;

TEST_F(CliInterrupt, ResetPromptOnATerminalWaitsAndCtrlCThereSendsNothing)
{
    const QString path = save(noisePicture(8, 8, 8), "logo.bmp");
    PseudoTerminal terminal;
    ASSERT_TRUE(terminal.isOpen());

    const ProgramRun yes =
        runOrvane({"upload", "--port", pty, "--yes", path}, terminal.slavePath());
    EXPECT_EQ(yes.exitCode, 0) << yes.err.toStdString();
    const QByteArray uploaded = uploadStream({recordOf(path)});
    EXPECT_EQ(printer.streamOfSize(uploaded.size()), uploaded);

    QProcess waiting;
    waiting.setStandardInputFile(terminal.slavePath());
    waiting.setReadChannel(QProcess::StandardError);
    startOrvane(waiting, {"upload", "--port", pty, path});
    QString err;
    ASSERT_TRUE(waitFor([&] {
        waiting.waitForReadyRead(5);
        err += QString::fromUtf8(waiting.readAllStandardError());
        return err.contains(TransferTexts::ResetPrompt);
    })) << err.toStdString();
    EXPECT_EQ(waiting.state(), QProcess::Running);
    ::kill(waiting.processId(), SIGINT);
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_EQ(waiting.exitStatus(), QProcess::CrashExit);

    const ProgramRun erase = runOrvane({"erase", "--port", pty});
    EXPECT_EQ(erase.exitCode, 0) << erase.err.toStdString();
    EXPECT_EQ(printer.streamOfSize(uploaded.size() + EraseStream.size()), uploaded + EraseStream);
}

// A run over printers (one port with --json) asks at the terminal before any printer starts,
// where Ctrl-C is heard; a second stop signal ends the program at once.
TEST_F(CliInterrupt, AFleetAsksBeforeAnyPrinterStartsAndCtrlCThereEndsIt)
{
    PseudoTerminal terminal;
    QProcess waiting;
    waiting.setStandardInputFile(terminal.slavePath());
    startOrvane(waiting, {"upload", "--json", "--port", pty, save(noisePicture(8, 8, 8), "a.bmp")});
    QString err;
    ASSERT_TRUE(waitFor([&] {
        waiting.waitForReadyRead(5);
        return (err += QString::fromUtf8(waiting.readAllStandardError()))
            .contains(TransferTexts::ResetPrompt);
    }));
    ::kill(waiting.processId(), SIGINT);
    ASSERT_TRUE(waiting.waitForFinished(10000));
    EXPECT_EQ(waiting.exitCode(), 1);
    EXPECT_TRUE(waiting.readAllStandardOutput().contains(R"("result":"not-started")"));
    expectNothingSent();
    EXPECT_EXIT((catchStopSignals(), std::raise(SIGTERM), std::raise(SIGINT), std::exit(0)),
                testing::KilledBySignal(SIGINT), "");
}

// 1200 baud: the records outrun the printer, so the upload is still sending when stopped.
class CliSlowPrinter : public PrinterTest
{
protected:
    QStringList printerOptions() const override { return {"--baud", "1200"}; }
};

TEST_F(CliSlowPrinter, CtrlCWhileSendingStopsTheUploadAndSaysSo)
{
    const QString path = save(noisePicture(512, 256, 9), "full-width.bmp");
    QProcess upload;
    startOrvane(upload, QStringList{"upload", "--port", pty, "--yes"} + QStringList(8, path));
    // Sending has begun once more than the questions before the job have come.
    ASSERT_TRUE(waitFor([&] { return printer.stream().size() > BeforeJob.size(); }));
    ::kill(upload.processId(), SIGINT);
    ASSERT_TRUE(upload.waitForFinished(10000));
    EXPECT_EQ(upload.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(upload.exitCode(), 1);
    const QString err = QString::fromUtf8(upload.readAllStandardError());
    EXPECT_TRUE(err.contains(TransferTexts::StoppedInUpload)) << err.toStdString();
    EXPECT_FALSE(err.contains(TransferTexts::Done)) << err.toStdString();
    EXPECT_LT(printer.stream().size(), BeforeJob.size() + 3 + 8 * 16388);
}

} // namespace
