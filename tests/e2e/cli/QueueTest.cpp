#include "CliHarness.h"

#include "LinkTexts.h"
#include "PrivateScheduler.h"
#include "TransferTexts.h"

#include <QTcpServer>

#include <csignal>

namespace {

// A virtual printer on TCP behind a scheduler of the test's own; orvane reaches that scheduler
// only. A queue carries no status questions, so each stream is the serial one without them.
class QueuePrinter : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(scheduler.start()) << scheduler.why().toStdString();
    }
    void startPrinter(const QStringList &options = {})
    {
        ASSERT_TRUE(printer.start(m_dir.filePath("printer"), QStringList{"--tcp", "0"} + options));
    }
    QString picture(int width, int height, unsigned seed)
    {
        return savedNoise(m_dir, width, height, seed);
    }
    ProgramRun orvane(const QStringList &arguments)
    {
        return runProgram(QStringLiteral(ORVANE_EXE), arguments, scheduler.environment(), 60000);
    }

    PrivateScheduler scheduler;
    VirtualPrinterProcess printer{QStringLiteral(VIRTUAL_PRINTER_EXE)};

private:
    QTemporaryDir m_dir;
};

TEST_F(QueuePrinter, UploadEraseAndPrintArriveByteForByteThroughTheScheduler)
{
    startPrinter();
    ASSERT_TRUE(scheduler.addQueue("receipt", "socket://" + printer.address()))
        << scheduler.why().toStdString();
    const ProgramRun ports = orvane({"ports"});
    EXPECT_TRUE(ports.out.split('\n').contains("queue:receipt")) << ports.out.toStdString();

    const QStringList paths{picture(512, 256, 1), picture(90, 90, 2)};
    for (const QStringList &command :
         {QStringList{"upload", "--yes"} + paths, {"print"}, {"erase"}}) {
        const ProgramRun run = orvane(command + QStringList{"--port", "queue:receipt"});
        EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
        EXPECT_TRUE(run.err.contains(TransferTexts::WaitingForPrinter)) << run.err.toStdString();
    }

    // Done means the scheduler completed each job: the printer has every byte by then. A
    // queue carries no answers, so no status question goes before or after a job.
    const auto job = [](const QByteArray &stream) {
        return stream.sliced(BeforeJob.size()).chopped(DeliveryQuestion.size());
    };
    const QByteArray expected = job(uploadStream({recordOf(paths[0]), recordOf(paths[1])})) +
                                job(printStream()) + job(EraseStream);
    EXPECT_EQ(printer.stream(), expected);
    EXPECT_TRUE(printer.waitForLog("FS p: printed NV image 2 as print-0002-nv02.png"))
        << printer.log().toStdString();
}

TEST_F(QueuePrinter, AQueueThatCannotTakeTheJobFailsItBeforeAnyByteWithTheSchedulersReason)
{
    startPrinter();
    const QString device = "socket://" + printer.address();
    ASSERT_TRUE(scheduler.addQueue("paused", device));
    ASSERT_TRUE(scheduler.run("/usr/sbin/cupsdisable", {"-r", "Paper roll changing", "paused"})
                    .succeeded());
    ASSERT_TRUE(scheduler.addQueue("closed", device));
    ASSERT_TRUE(scheduler.run("/usr/sbin/cupsreject", {"-r", "Shop closed", "closed"}).succeeded());
    const struct
    {
        const char *queue;
        QString problem;
    } table[] = {
        {"paused",
         LinkTexts::queueProblem("paused", LinkTexts::QueuePaused, "Paper roll changing")},
        {"closed", LinkTexts::queueProblem("closed", LinkTexts::QueueRejecting, "Shop closed")},
        {"nosuch", LinkTexts::queueProblem("nosuch", LinkTexts::QueueUnknown,
                                           "The printer or class does not exist.")},
    };
    // Refused at open: before the reset prompt, in the scheduler's words, not as a failed write.
    for (const auto &row : table) {
        const QString port = QStringLiteral("queue:") + row.queue;
        const ProgramRun upload = orvane({"upload", "--port", port, picture(8, 8, 4)});
        EXPECT_EQ(upload.exitCode, 1) << row.queue;
        EXPECT_EQ(
            upload.err.toStdString(),
            ("orvane: " + TransferTexts::linkNotOpened(port, row.problem) + "\n").toStdString());
        EXPECT_TRUE(scheduler.run("lpstat", {"-W", "all", "-o"}).out.isEmpty()) << row.queue;
    }
    EXPECT_TRUE(printer.stream().isEmpty());
}

TEST_F(QueuePrinter, APrinterThatRefusesTheConnectionEndsTheJobWithTheSchedulersWord)
{
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const QString device =
        QStringLiteral("socket://127.0.0.1:%1/?contimeout=1").arg(closed.serverPort());
    closed.close();
    ASSERT_TRUE(scheduler.addQueue("gone", device, {"printer-error-policy=abort-job"}))
        << scheduler.why().toStdString();
    const ProgramRun erase = orvane({"erase", "--port", "queue:gone"});
    EXPECT_EQ(erase.exitCode, 1);
    EXPECT_TRUE(erase.err.contains(LinkTexts::queueProblem("gone", LinkTexts::JobAborted, "")))
        << erase.err.toStdString();
    EXPECT_FALSE(erase.err.contains(TransferTexts::Done)) << erase.err.toStdString();
    EXPECT_TRUE(scheduler.run("lpstat", {"-W", "not-completed", "-o"}).out.isEmpty());
}

TEST_F(QueuePrinter, CtrlCWhileThePrinterIsOffLeavesTheJobInTheQueueAndSaysWhy)
{
    // A printer switched off: the scheduler keeps trying, and says so in the printer's state.
    QTcpServer off;
    ASSERT_TRUE(off.listen(QHostAddress::LocalHost));
    const QString device = QStringLiteral("socket://127.0.0.1:%1").arg(off.serverPort());
    off.close();
    ASSERT_TRUE(scheduler.addQueue("off", device));
    QProcess upload;
    upload.setProcessEnvironment(scheduler.environment());
    startOrvane(upload, {"upload", "--port", "queue:off", "--yes", picture(512, 256, 3)});
    QString err;
    ASSERT_TRUE(waitFor([&] {
        return (err += upload.readAllStandardError())
            .contains(TransferTexts::waitingForPrinter(
                "The printer may not exist or is unavailable at this time."));
    })) << err.toStdString();
    ::kill(upload.processId(), SIGINT);
    ASSERT_TRUE(upload.waitForFinished(30000));
    EXPECT_EQ(upload.exitCode(), 1);
    err += upload.readAllStandardError();
    const QString job =
        scheduler.run("lpstat", {"-W", "not-completed", "-o"}).out.section(' ', 0, 0);
    EXPECT_TRUE(job.startsWith("off-")) << "the job was cancelled";
    EXPECT_TRUE(err.contains(TransferTexts::stoppedWaiting(LinkTexts::leftInQueue("off", job))))
        << err.toStdString();
}

} // namespace
