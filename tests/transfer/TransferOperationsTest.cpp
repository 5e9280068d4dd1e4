#include "TransferOperations.h"
#include "PortLink.h"
#include "QtPrinters.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "StatusQuestions.h"
#include "TransferTexts.h"
#include "modBitmap.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QByteArray FinishBytes("\x1D\x07\x02\x01\x01", 5);
const QString Port = QStringLiteral("COM1:");
const QString Rate = QStringLiteral("9600");

QByteArray bytes(std::initializer_list<int> values)
{
    QByteArray result;
    for (int value : values)
        result += char(value);
    return result;
}

class TransferOperationsTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    // A white picture with a black diagonal, so every record differs.
    QString picture(const QString &name, int width, int height)
    {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::white);
        for (int i = 0; i < std::min(width, height); ++i)
            image.setPixel(i, i, qRgb(0, 0, 0));
        const QString path = dir.filePath(name);
        EXPECT_TRUE(image.save(path, "BMP"));
        return path;
    }

    QByteArray recordOf(const QString &path) { return modBitmap::BitmapToRaster(path).record; }

    void expectLinkClosed()
    {
        EXPECT_FALSE(control.PortOpen());
        EXPECT_EQ(control.writes().last(), QStringLiteral("PortOpen=false"));
        EXPECT_EQ(link.openKind(), LinkKind::None);
    }

    QTemporaryDir dir;
    QString device = dir.filePath(QStringLiteral("lp0"));
    ScriptedSerialControl control;
    PortLink link{control, [](const QString &) {}, [this](const QString &) { return device; }};
    RecordingTransferHost host;
    // The product's limits: a job that succeeds never comes near them, however loaded the
    // machine. Tests of the limits themselves use short ones.
    TransferOperations operations{link, host};
    TransferLimits shortLimits{20ms, 40ms};
    TransferOperations impatient{link, host, shortLimits};
};

TEST_F(TransferOperationsTest, UploadsOnePicture)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.setOnOutput([&](const QByteArray &) { host.note(QStringLiteral("output")); });
    bool closedBeforeDone = false;
    host.setOnMessage([&](const RecordingTransferHost::Message &message) {
        if (message.text == QStringLiteral("Done!!"))
            closedBeforeDone = !control.PortOpen() && link.openKind() == LinkKind::None;
    });

    const TransferResult result = operations.upload({path}, Port, Rate);
    EXPECT_TRUE(closedBeforeDone);

    EXPECT_EQ(result.outcome, TransferOutcome::Succeeded);
    const QByteArray record = recordOf(path);
    ASSERT_EQ(record.size(), 132);
    EXPECT_TRUE(record.startsWith(bytes({0x04, 0x00, 0x04, 0x00})));
    // The printer answered before the job, so it is asked in turn after the finish command.
    EXPECT_EQ(maskedIds(control.sent()),
              BeforeJob + bytes({0x1C, 0x71, 0x01}) + record + FinishBytes + DeliveryQuestion);
    EXPECT_EQ(host.events(),
              QStringList({"message:Please reset your printer.", "output", "output", "output",
                           "output", "output", "row:0", "output", "status:Writing", "output",
                           "output", "message:Done!!", "status:SUCCESS"}));
    EXPECT_EQ(host.messages()[0].title, QStringLiteral("Starting Upload."));
    EXPECT_EQ(host.messages()[0].kind, TransferHost::MessageKind::Prompt);
    EXPECT_EQ(host.messages()[1].title, QStringLiteral("Upload finished."));
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, UploadsPicturesInListOrder)
{
    const QStringList paths = {picture(QStringLiteral("a.bmp"), 8, 8),
                               picture(QStringLiteral("b.png"), 24, 16),
                               picture(QStringLiteral("c.bmp"), 16, 40)};

    EXPECT_EQ(operations.upload({paths[0], paths[1], paths[2]}, Port, Rate).outcome,
              TransferOutcome::Succeeded);
    EXPECT_EQ(maskedIds(control.sent()), BeforeJob + bytes({0x1C, 0x71, 0x03}) +
                                             recordOf(paths[0]) + recordOf(paths[1]) +
                                             recordOf(paths[2]) + FinishBytes + DeliveryQuestion);
    EXPECT_EQ(host.rows(), QList<int>({0, 1, 2}));
    EXPECT_EQ(host.statuses(), QStringList({"Writing", "SUCCESS"}));
}

TEST_F(TransferOperationsTest, UploadsAtMost255Pictures)
{
    const QList<ListedPicture> full(255, picture(QStringLiteral("one.bmp"), 8, 8));
    EXPECT_EQ(operations.upload(full, Port, Rate).outcome, TransferOutcome::Succeeded);
    EXPECT_TRUE(maskedIds(control.sent()).startsWith(BeforeJob + bytes({0x1C, 0x71, 0xFF})));
    EXPECT_EQ(control.sent().size(), BeforeJob.size() + 3 + 255 * 132 + 5 + 11);

    ScriptedSerialControl other;
    PortLink otherLink(other, [](const QString &) {});
    RecordingTransferHost otherHost;
    TransferOperations tooMany(otherLink, otherHost);
    const TransferResult result = tooMany.upload(full + full.mid(0, 1), Port, Rate);
    EXPECT_EQ(result.outcome, TransferOutcome::Refused);
    EXPECT_EQ(result.message, TransferTexts::tooManyPictures(256));
    ASSERT_EQ(otherHost.messages().size(), 1);
    EXPECT_EQ(otherHost.messages()[0].kind, TransferHost::MessageKind::Error);
    EXPECT_TRUE(other.writes().isEmpty());
}

TEST_F(TransferOperationsTest, PictureThatNoLongerLoadsStopsTheUploadBeforeTheLinkOpens)
{
    const QString good = picture(QStringLiteral("good.bmp"), 8, 8);
    const QString gone = picture(QStringLiteral("gone.bmp"), 8, 8);
    const QString broken = dir.filePath(QStringLiteral("broken.bmp"));
    QFile file(broken);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("BM not a picture");
    file.close();
    ASSERT_TRUE(QFile::remove(gone));
    // It loads, but at 7 pixels wide it has no raster data.
    const QString narrow = picture(QStringLiteral("narrow.bmp"), 7, 64);

    for (const QString &bad : {gone, broken, narrow}) {
        RecordingTransferHost fresh;
        TransferOperations refusing(link, fresh);
        const TransferResult result = refusing.upload({good, bad}, Port, Rate);
        EXPECT_EQ(result.outcome, TransferOutcome::Refused);
        EXPECT_TRUE(result.message.contains(bad)) << result.message.toStdString();
        ASSERT_EQ(fresh.messages().size(), 1);
        EXPECT_EQ(fresh.messages()[0].text, result.message);
        EXPECT_TRUE(fresh.statuses().isEmpty());
    }
    EXPECT_EQ(operations.upload({}, Port, Rate).outcome, TransferOutcome::Refused);
    EXPECT_TRUE(control.writes().isEmpty());
}

TEST_F(TransferOperationsTest, LinkThatDoesNotOpenEndsSilently)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    EXPECT_EQ(operations.upload({path}, QStringLiteral("COM1: (Used)"), Rate).outcome,
              TransferOutcome::NotOpened);
    control.failOpen(QStringLiteral("No such file or directory"));
    EXPECT_EQ(operations.erase(Port, Rate).outcome, TransferOutcome::NotOpened);
    EXPECT_EQ(operations.print(QStringLiteral("COM5"), Rate).outcome, TransferOutcome::NotOpened);

    EXPECT_TRUE(host.messages().isEmpty());
    EXPECT_TRUE(host.statuses().isEmpty());
    EXPECT_TRUE(control.pieces().isEmpty());
}

TEST_F(TransferOperationsTest, PrinterThatNeverAssertsCtsFailsTheUpload)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.setCts(false);

    const TransferResult result = impatient.upload({path}, Port, Rate);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, TransferTexts::printerNotReady(shortLimits.stall));
    EXPECT_EQ(host.statuses(), QStringList{"FAILED"});
    ASSERT_EQ(host.messages().size(), 2);
    EXPECT_EQ(host.messages()[1].text, result.message);
    EXPECT_EQ(host.messages()[1].kind, TransferHost::MessageKind::Error);
    EXPECT_EQ(maskedIds(control.sent()), BeforeJob);
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, PrinterThatNeverFinishesStoringFailsTheUpload)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.setCtsSource([&] { return !host.statuses().contains(QStringLiteral("Writing")); });

    const TransferResult result = impatient.upload({path}, Port, Rate);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, TransferTexts::printerNotFinished(shortLimits.completion));
    EXPECT_EQ(host.statuses(), QStringList({"Writing", "FAILED"}));
    EXPECT_FALSE(control.sent().endsWith(FinishBytes));
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, FailedWriteFailsTheUpload)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.failWritesAfter(50, QStringLiteral("Input/output error"));

    const TransferResult result = operations.upload({path}, Port, Rate);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, TransferTexts::writeFailed(QStringLiteral("Input/output error")));
    EXPECT_EQ(host.statuses(), QStringList{"FAILED"});
    EXPECT_EQ(control.sent().size(), 50);
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, StopClosesTheLinkWithoutAMessage)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.setCts(false);
    host.setOnYield([&](int) { host.requestStop(); });

    const TransferResult result = operations.upload({path}, Port, Rate);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(host.yields(), 1);
    EXPECT_EQ(host.messages().size(), 1);
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, SecondActionDuringAWaitLeavesTheLinkAlone)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.setCtsSource([&] { return host.yields() >= 3; });
    QStringList writesDuringWait;
    QList<TransferOutcome> outcomes;
    host.setOnYield([&](int yields) {
        if (yields != 1)
            return;
        const QStringList before = control.writes();
        outcomes << operations.print(Port, Rate).outcome
                 << operations.erase(QStringLiteral("COM2:"), Rate).outcome
                 << operations.upload({path}, QStringLiteral("LPT1:"), Rate).outcome;
        writesDuringWait = control.writes().mid(before.size());
    });

    EXPECT_EQ(operations.upload({path}, Port, Rate).outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(outcomes, QList<TransferOutcome>(3, TransferOutcome::NotOpened));
    EXPECT_TRUE(writesDuringWait.isEmpty());
    EXPECT_EQ(maskedIds(control.sent()), BeforeJob + bytes({0x1C, 0x71, 0x01}) + recordOf(path) +
                                             FinishBytes + DeliveryQuestion);
    EXPECT_EQ(host.statuses(), QStringList({"Writing", "SUCCESS"}));
}

TEST_F(TransferOperationsTest, SecondActionOnAnOpenParallelLinkIsRefused)
{
    QFile(device).open(QIODevice::WriteOnly);
    ASSERT_TRUE(link.OpenPort(QStringLiteral("LPT1:"), QString()));

    EXPECT_EQ(operations.erase(QStringLiteral("LPT1:"), Rate).outcome, TransferOutcome::NotOpened);
    EXPECT_EQ(operations.print(Port, Rate).outcome, TransferOutcome::NotOpened);
    EXPECT_EQ(link.openKind(), LinkKind::Parallel);
    EXPECT_TRUE(control.writes().isEmpty());
    EXPECT_EQ(QFile(device).size(), 0);
}

TEST_F(TransferOperationsTest, ErasesStoredImages)
{
    EXPECT_EQ(operations.erase(Port, Rate).outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(maskedIds(control.sent()),
              BeforeJob + bytes({0x1C, 0x71, 0x00}) + FinishBytes + DeliveryQuestion);
    EXPECT_EQ(host.statuses(), QStringList({"PROCESSING", "SUCCESS"}));
    ASSERT_EQ(host.messages().size(), 1);
    EXPECT_EQ(host.messages()[0].text, QStringLiteral("Done!!"));
    EXPECT_EQ(host.messages()[0].title, QStringLiteral("Upload finished."));
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, PrintsImages1To255)
{
    EXPECT_EQ(operations.print(Port, Rate).outcome, TransferOutcome::Succeeded);
    ASSERT_EQ(control.pieces().size(), 4 + 255 + 1);
    EXPECT_EQ(maskedIds(control.sent()).first(BeforeJob.size()), BeforeJob);
    EXPECT_EQ(maskedIds(control.pieces().last()), DeliveryQuestion);
    for (int n = 1; n <= 255; ++n)
        EXPECT_EQ(control.pieces()[3 + n], bytes({0x1C, 0x70, n, 0x00})) << n;
    EXPECT_TRUE(host.messages().isEmpty());
    EXPECT_TRUE(host.statuses().isEmpty());
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, BytesLeftUnsentAtCloseFailTheJob)
{
    control.loseBytesOnClose(QStringLiteral("12 bytes not sent"));
    const TransferResult printed = operations.print(Port, Rate);
    EXPECT_EQ(printed.outcome, TransferOutcome::Failed);
    EXPECT_TRUE(printed.message.contains(QStringLiteral("12 bytes not sent")));
    EXPECT_EQ(host.statuses(), QStringList{"FAILED"});
    ASSERT_EQ(host.messages().size(), 1);
    EXPECT_EQ(host.messages()[0].title, QStringLiteral("Transfer failed."));
    expectLinkClosed();

    // The failure alone: no "Done!!" before it, no "SUCCESS".
    control.loseBytesOnClose(QStringLiteral("5 bytes not sent"));
    EXPECT_EQ(operations.erase(Port, Rate).outcome, TransferOutcome::Failed);
    EXPECT_EQ(host.statuses(), QStringList({"FAILED", "PROCESSING", "FAILED"}));
    ASSERT_EQ(host.messages().size(), 2);
    EXPECT_EQ(host.messages()[1].title, QStringLiteral("Transfer failed."));
    expectLinkClosed();
}

TEST_F(TransferOperationsTest, APrinterThatCannotTakeTheJobEndsItAfterTheQuestions)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    const struct
    {
        const char *answers; // to DLE EOT 1, 2, 3 and 4
        QString cause;
        QByteArray sent;
    } table[] = {
        {"1a161212", "offline, cover open", StatusQuestions},
        {"1a32127e", "offline, paper end, paper near end", StatusQuestions},
        {"1a121212", "offline", StatusQuestions},
        // An error is followed by the question for its cause.
        {"1a523212", "offline, unrecoverable error",
         StatusQuestions + QByteArray::fromHex("100403")},
    };
    using Job = std::function<TransferResult()>;
    const QList<Job> jobs = {[&] { return operations.upload({path}, Port, Rate); },
                             [&] { return operations.erase(Port, Rate); },
                             [&] { return operations.print(Port, Rate); }};
    for (const auto &row : table) {
        for (const Job &job : jobs) {
            SCOPED_TRACE(row.answers);
            ScriptedSerialControl fresh;
            fresh.setStatusAnswers(QByteArray::fromHex(row.answers));
            std::swap(control, fresh);
            host = RecordingTransferHost();

            const TransferResult result = job();
            EXPECT_EQ(result.outcome, TransferOutcome::Failed);
            EXPECT_EQ(result.message,
                      "The printer cannot take the job: " + row.cause + ". Nothing was sent.");
            EXPECT_EQ(control.sent(), row.sent);
            EXPECT_EQ(host.statuses().last(), QStringLiteral("FAILED"));
            ASSERT_FALSE(host.messages().isEmpty());
            EXPECT_EQ(host.messages().last().text, result.message);
            EXPECT_EQ(host.messages().last().kind, TransferHost::MessageKind::Error);
            expectLinkClosed();
        }
    }
}

TEST_F(TransferOperationsTest, NoiseHidesNoConditionAndBytesWithoutAnswerAreNamed)
{
    control.setStatusAnswers({});
    QList<QByteArray> replies; // to DLE EOT 1, 2 and 4, each as its question leaves
    control.setOnOutput([&](const QByteArray &piece) {
        if (piece.startsWith("\x10\x04") && !replies.isEmpty())
            control.answer(replies.takeFirst());
    });
    const struct
    {
        QList<QByteArray> replies;
        QString message;
        QByteArray asked;
    } table[] = {
        {{QByteArray::fromHex("001A"), QByteArray::fromHex("1112"), QByteArray::fromHex("12")},
         QStringLiteral("The printer cannot take the job: offline. Nothing was sent."),
         StatusQuestions},
        {{QByteArray::fromHex("00FF01")},
         TransferTexts::noStatusAnswer(3, 300ms, true),
         StatusQuestions.first(3)},
        // A cover-open byte that came before any question answers none of them.
        {{QByteArray::fromHex("12"), QByteArray::fromHex("12"), QByteArray::fromHex("12")},
         QString(),
         BeforeJob + bytes({0x1C, 0x71, 0x00}) + FinishBytes + DeliveryQuestion},
    };
    for (const auto &row : table) {
        replies = row.replies;
        control.answer(QByteArray::fromHex("16"));
        const qsizetype before = control.sent().size();
        const TransferResult result = operations.erase(Port, Rate);
        EXPECT_EQ(result.message, row.message);
        EXPECT_EQ(maskedIds(control.sent().mid(before)), row.asked);
        expectLinkClosed();
    }
    replies = {QByteArray::fromHex("00FF01")};
    // Asked for its status alone, the printer is told of without "Nothing was sent".
    EXPECT_EQ(operations.status(Port, Rate).message,
              TransferTexts::noStatusAnswer(3, 300ms, false));
}

TEST_F(TransferOperationsTest, PaperNearItsEndWarnsAndTheJobGoesOn)
{
    control.setStatusAnswers(QByteArray::fromHex("1212121e"));
    EXPECT_EQ(operations.erase(Port, Rate).outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(host.events(),
              QStringList({"status:PROCESSING", "message:The printer's paper is near its end.",
                           "message:Done!!", "status:SUCCESS"}));
    EXPECT_EQ(host.messages()[0].kind, TransferHost::MessageKind::Warning);
    EXPECT_EQ(maskedIds(control.sent()),
              BeforeJob + bytes({0x1C, 0x71, 0x00}) + FinishBytes + DeliveryQuestion);
}

TEST_F(TransferOperationsTest, ASilentPrinterGetsTheOriginalStreamAfterTheQuestions)
{
    const QString path = picture(QStringLiteral("one.bmp"), 8, 8);
    control.setStatusAnswers({});
    QElapsedTimer waited;
    host.setOnMessage([&](const RecordingTransferHost::Message &message) {
        if (message.text == TransferTexts::ResetPrompt)
            waited.start();
    });
    qint64 waitedMs = 0;
    control.setOnOutput([&](const QByteArray &piece) {
        if (piece.startsWith(bytes({0x1C, 0x71})))
            waitedMs = waited.elapsed();
    });

    EXPECT_EQ(operations.upload({path}, Port, Rate).outcome, TransferOutcome::Succeeded);
    // Silent to the first question, it is asked no more, before the job or after it.
    EXPECT_EQ(control.sent(),
              SilentQuestion + bytes({0x1C, 0x71, 0x01}) + recordOf(path) + FinishBytes);
    EXPECT_EQ(host.statuses(), QStringList({"Writing", "SUCCESS"}));
    // It was given its time to answer, and no more: the product's limit is 300 ms.
    EXPECT_GE(waitedMs, 300);
    EXPECT_EQ(TransferLimits{}.firstAnswer, 300ms);
}

TEST_F(TransferOperationsTest, PrintsOverTheParallelLinkInOneWritePerCommand)
{
    QFile(device).open(QIODevice::WriteOnly);
    EXPECT_EQ(operations.print(QStringLiteral("LPT1:"), QString()).outcome,
              TransferOutcome::Succeeded);

    QFile file(device);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray stream = file.readAll();
    ASSERT_EQ(stream.size(), 1020);
    EXPECT_TRUE(stream.startsWith(bytes({0x1C, 0x70, 0x01, 0x00})));
    EXPECT_TRUE(stream.endsWith(bytes({0x1C, 0x70, 0xFF, 0x00})));
    EXPECT_TRUE(host.progress().isEmpty());
    EXPECT_EQ(link.openKind(), LinkKind::None);
}

} // namespace

TEST_F(TransferOperationsTest, AnAnsweringPrinterIsAskedWhoItIsAndOneSilentToGsIOnlyOnce)
{
    // Both answered the status questions, so each is asked once more after the job.
    const QByteArray Erase =
        ProcessIdQuestion + bytes({0x1C, 0x71, 0x00}) + FinishBytes + DeliveryQuestion;
    const QByteArray AllFour = QByteArray::fromHex("1D4941 1D4942 1D4943 1D4944");
    const struct
    {
        bool answers; // to GS I
        QByteArray sent;
        PrinterIdentity identity;
    } table[] = {
        {true, StatusQuestions + AllFour + Erase, {"Maker B", "Model C", "Firmware A", "Serial D"}},
        {false, StatusQuestions + AllFour.first(3) + Erase, {}},
    };
    TransferLimits limits;
    limits.graphicsAnswer = 50ms;
    for (const auto &row : table) {
        ScriptedSerialControl fresh;
        std::swap(control, fresh);
        // Each answer after a stray XOFF, as a printer under XON/XOFF may send it.
        const QList<QByteArray> texts{"Firmware A", "Maker B", "Model C", "Serial D"};
        control.setOnOutput([&](const QByteArray &piece) {
            if (row.answers && piece.size() == 3 && piece.startsWith("\x1DI"))
                control.answer("\x13_" + texts.value(piece[2] - 0x41) + '\0');
        });
        TransferOperations asking(link, host, limits);
        asking.setIdentityWanted(true);
        EXPECT_EQ(asking.erase(Port, Rate).outcome, TransferOutcome::Succeeded);
        EXPECT_EQ(maskedIds(control.sent()), row.sent);
        const PrinterIdentity &told = asking.facts().identity;
        EXPECT_EQ(QStringList({told.maker, told.model, told.firmware, told.serialNumber}),
                  QStringList({row.identity.maker, row.identity.model, row.identity.firmware,
                               row.identity.serialNumber}));
    }
}

// "Done!!" only on an in-order answer after the job: status bytes, however many and whenever,
// confirm nothing, and what the printer says after a job is told.
TEST_F(TransferOperationsTest, OnlyAnInOrderAnswerAfterTheJobMakesItDone)
{
    const ListedPicture small(picture(QStringLiteral("one.bmp"), 8, 8));
    // Its dithered dots hold DLE EOT requests, which the scripted line answers where they are.
    const ListedPicture coffee(QStringLiteral(EXAMPLES_DIR "/coffee.jpg"),
                               {modBitmap::Reduction::Atkinson, 128, 576});
    const TransferLimits limits{30s, 200ms, 300ms, 2s, 1500ms, 200ms};
    const QString lost =
        TransferTexts::deliveryNotConfirmed(limits.completion, TransferTexts::noStatusAfterJob());
    PrinterStatus offline;
    offline.offline = true;
    const struct
    {
        const char *printer;
        bool processId;    // answers GS ( H fn 48
        const char *gsI65; // its answer to GS I 65, if any
        bool flood;        // sends ready bytes all the time
        qsizetype stopsAt; // it takes nothing in once that many bytes have come
        const char *after; // its status answers from the finish command on
        QString message;   // the job's result; "Done!!" when empty
    } table[] = {
        {"confirms by ID", true, "", false, 0, "", {}},
        {"confirms by GS I", false, "1.00", false, 0, "", {}},
        {"cannot confirm", false, "", false, 0, "", TransferTexts::sentNotConfirmed()},
        {"cannot confirm, offline after", false, "", false, 0, "1a121212",
         TransferTexts::sentNotReady(TransferTexts::printerNowReports(offline))},
        {"offline after", true, "", false, 0, "1a121212",
         TransferTexts::deliveryNotConfirmed(limits.completion,
                                             TransferTexts::printerNowReports(offline))},
        {"answers in data, stops reading", true, "", false, 5129, "", lost},
        {"floods ready bytes", false, "", true, 0, "",
         TransferTexts::unaskedStatusBytes(192, true)},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.printer);
        ScriptedSerialControl fresh;
        std::swap(control, fresh);
        host = RecordingTransferHost();
        control.setAnswersProcessId(row.processId);
        bool stopped = false;
        qsizetype inData = 0;
        control.setOnOutput([&](const QByteArray &piece) {
            for (char n = 1; n <= 4 && !stopped && piece.size() > 64; ++n)
                inData += piece.contains(QByteArray("\x10\x04", 2) + n);
            if (stopped) {
                control.setStatusAnswers({});
                control.setAnswersProcessId(false);
                return;
            }
            if (row.flood)
                control.answer(QByteArray(64, 0x12));
            if (piece == QByteArray::fromHex("1D4941") && *row.gsI65)
                control.answer('_' + QByteArray(row.gsI65) + '\0');
            // Offline from the finish command on: it answers DLE EOT and processes nothing.
            if (piece.startsWith(QByteArray::fromHex("1D0702")) && *row.after) {
                control.setStatusAnswers(QByteArray::fromHex(row.after));
                control.setAnswersProcessId(false);
            }
            stopped = row.stopsAt > 0 && control.sent().size() >= row.stopsAt;
        });
        TransferOperations job(link, host, limits);
        const TransferResult result = job.upload({row.stopsAt > 0 ? coffee : small}, Port, Rate);
        EXPECT_EQ(inData > 0, row.stopsAt > 0);
        EXPECT_EQ(result.message, row.message);
        ASSERT_FALSE(host.messages().isEmpty());
        EXPECT_EQ(host.messages().last().text,
                  row.message.isEmpty() ? TransferTexts::Done : row.message);
        expectLinkClosed();
    }
}

// Each status question waits for its answer: a late one is still its own within the wait, and
// past it fails the inquiry instead of answering the next question.
TEST_F(TransferOperationsTest, EachStatusAnswerIsWaitedForAndALateOneIsNeverTheNext)
{
    const QString coverOpen = TransferTexts::printerCannotTakeJob([] {
        PrinterStatus status;
        status.offline = status.coverOpen = true;
        return status;
    }());
    const struct
    {
        std::chrono::milliseconds late; // of the answer to DLE EOT 2
        std::chrono::milliseconds wait; // for each answer after the first
        QString message;
    } table[] = {
        {700ms, 2s, coverOpen},
        {1500ms, 2s, coverOpen},
        {700ms, 300ms, TransferTexts::lateStatusAnswer(2, 300ms, true)},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.late.count());
        ScriptedSerialControl fresh;
        std::swap(control, fresh);
        control.setStatusAnswers(QByteArray::fromHex("1a"));
        QElapsedTimer asked;
        control.setOnOutput([&](const QByteArray &piece) {
            if (piece == QByteArray::fromHex("100402"))
                asked.start();
            if (piece == QByteArray::fromHex("100404"))
                control.answer(QByteArray::fromHex("12"));
        });
        bool answered = false;
        host.setOnYield([&](int) {
            if (!answered && asked.isValid() && asked.elapsed() >= row.late.count()) {
                answered = true;
                control.answer(QByteArray::fromHex("16"));
            }
        });
        TransferLimits limits;
        limits.nextAnswer = row.wait;
        const TransferResult result = TransferOperations(link, host, limits).erase(Port, Rate);
        EXPECT_EQ(result.message, row.message);
        // Nothing of the job went out, and DLE EOT 4 only once DLE EOT 2 was answered.
        EXPECT_EQ(control.sent(),
                  row.message == coverOpen ? StatusQuestions : StatusQuestions.first(6));
        expectLinkClosed();
    }
}
