#include "CliHarness.h"

#include "TransferTexts.h"

namespace {

// What orvane status asks and tells of the virtual printer's empty NV graphics store.
// The last one answered by ACK, which ends the key list.
const QByteArray GraphicsQuestions =
    QByteArray::fromHex("1D284C020030 30 1D284C020030 33 1D284C040030404B43 06");
const char GraphicsStatusLines[] = "NV graphics: 262144 bytes, 262144 free\n"
                                   "NV graphics stored: none\n";
// Who the virtual printer says it is by default.
const char IdentityLines[] = "model: Virtual Printer\nserial number: VP000001\nmaker: Orvane\n"
                             "firmware: 1.00\n";

TEST(CliStatus, TellsEachStateAndRefusesJobsThePrinterCannotTake)
{
    const struct
    {
        const char *state;
        const char *lines;
        int exitCode;
        const char *eraseMessage; // empty: the erase goes through
    } table[] = {
        {"ready", "ready\n", 0, ""},
        {"paper-near-end", "ready\npaper near end\n", 0, ""},
        {"cover-open", "offline\ncover open\n", 3, "offline, cover open"},
        {"paper-end", "offline\npaper end\npaper near end\n", 3,
         "offline, paper end, paper near end"},
        {"offline", "offline\n", 3, "offline"},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.state);
        QTemporaryDir dir;
        VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
        ASSERT_TRUE(printer.start(dir.path(), {"--state", row.state}));

        const ProgramRun status = runOrvane({"status", "--port", printer.address()});
        EXPECT_EQ(status.exitCode, row.exitCode) << status.err.toStdString();
        // A ready printer is asked about its NV graphics too.
        const bool ready = status.exitCode == 0;
        EXPECT_EQ(status.out, (ready ? IdentityLines : "") + QString(row.lines) +
                                  (ready ? GraphicsStatusLines : ""));

        const ProgramRun erase = runOrvane({"erase", "--port", printer.address()});
        if (*row.eraseMessage) {
            EXPECT_EQ(erase.exitCode, 1);
            EXPECT_TRUE(erase.err.contains("orvane: The printer cannot take the job: " +
                                           QString::fromLatin1(row.eraseMessage) +
                                           ". Nothing was sent."))
                << erase.err.toStdString();
            EXPECT_FALSE(erase.err.contains(TransferTexts::Done)) << erase.err.toStdString();
            ASSERT_TRUE(printer.waitForLog("DLE EOT 4", 10000));
            EXPECT_EQ(printer.streamOfSize(2 * StatusQuestions.size()),
                      StatusQuestions + StatusQuestions);
        } else {
            EXPECT_EQ(erase.exitCode, 0) << erase.err.toStdString();
            EXPECT_EQ(erase.err.contains(TransferTexts::paperNearEnd()),
                      QByteArray(row.state) == "paper-near-end")
                << erase.err.toStdString();
            const QByteArray expected =
                StatusQuestions + IdentityQuestions + GraphicsQuestions + EraseStream;
            EXPECT_EQ(printer.streamOfSize(expected.size()), expected);
        }
    }
}

class CliSilentPrinter : public PrinterTest
{
protected:
    QStringList printerOptions() const override { return {"--silent"}; }
};

TEST_F(CliSilentPrinter, GetsTheOriginalStreamAfterTheQuestions)
{
    const ProgramRun status = runOrvane({"status", "--port", pty});
    EXPECT_EQ(status.exitCode, 1);
    EXPECT_TRUE(status.err.contains(TransferTexts::noAnswer(std::chrono::milliseconds(300))))
        << status.err.toStdString();
    EXPECT_TRUE(status.out.isEmpty());

    const QString path = save(noisePicture(16, 8, 11), "logo.bmp");
    const ProgramRun upload = runOrvane({"upload", "--port", pty, "--yes", path});
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    // Silent to the first question, it is asked no more, before the job or after it.
    const QByteArray expected =
        SilentQuestion + SilentQuestion +
        uploadStream({recordOf(path)}).sliced(BeforeJob.size()).chopped(DeliveryQuestion.size());
    EXPECT_EQ(printer.streamOfSize(expected.size()), expected);
    EXPECT_TRUE(logHas("FS q: stored 1 NV image (32x32 dots)")) << printer.log().toStdString();
}

} // namespace
