#include "GraphicsStoreInquiry.h"
#include "PortLink.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "StatusQuestions.h"
#include "TransferOperations.h"
#include "TransferTexts.h"

#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <utility>

using namespace std::chrono_literals;

namespace {

const QString Port = QStringLiteral("COM1:");
const QString Rate = QStringLiteral("9600");

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

const QByteArray AskCapacity = hex("1D284C 0200 3030");
const QByteArray AskKeys = hex("1D284C 0400 3040 4B43");
const QByteArray Ack = hex("06");
const QByteArray Can = hex("18");
const QByteArray DeleteAll = hex("1D284C 0500 3041 434C52");

QByteArray printKey(const char *key)
{
    return hex("1D284C 0600 3045") + key + hex("0101");
}

// Black-and-white noise; unscaled, its dots are its pixels.
QImage noise(int width, int height, quint32 seed)
{
    QRandomGenerator random(seed);
    QImage picture(width, height, QImage::Format_RGB32);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            picture.setPixel(x, y, random.bounded(2) ? qRgb(0, 0, 0) : qRgb(255, 255, 255));
    return picture;
}

// The picture's pixels as an NV graphic's rows: MSB left, 1 = black.
QByteArray rowsOf(const QImage &picture)
{
    QByteArray rows;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); x += 8) {
            int byte = 0;
            for (int bit = 0; bit < 8; ++bit)
                byte = byte << 1 | (qGray(picture.pixel(x + bit, y)) < 128);
            rows.append(char(byte));
        }
    }
    return rows;
}

// A printer behind the scripted line that answers the NV graphics questions: its capacity,
// and its keys in blocks of `perBlock`, the next block on ACK.
struct GraphicsPrinter
{
    std::optional<QByteArray> capacity; // the digits it answers
    QByteArray cutShort;                // sent before its first whole answer
    std::optional<QList<QByteArray>> keys;
    int perBlock = 80;
    bool breaksOff = false; // sends nothing after the first block
    QList<QByteArray> pending;

    void attach(ScriptedSerialControl &control)
    {
        control.setOnOutput([this, &control](const QByteArray &piece) {
            if (piece == AskCapacity && capacity)
                control.answer(std::exchange(cutShort, {}) + "70" + *capacity + '\0');
            if (piece == AskKeys && keys)
                pending = *keys;
            if ((piece == AskKeys && keys) || (piece == Ack && !pending.isEmpty() && !breaksOff)) {
                const QList<QByteArray> block =
                    pending.first(std::min<qsizetype>(perBlock, pending.size()));
                pending.remove(0, block.size());
                control.answer(QByteArray("7r") + (pending.isEmpty() ? '@' : 'A') + block.join() +
                               '\0');
            }
        });
    }
};

class GraphicsOperationsTest : public ::testing::Test
{
protected:
    QString save(const QImage &picture, const QString &name)
    {
        const QString path = dir.filePath(name);
        EXPECT_TRUE(picture.save(path, "BMP"));
        return path;
    }

    void expectLinkClosed()
    {
        EXPECT_FALSE(control.PortOpen());
        EXPECT_EQ(link.openKind(), LinkKind::None);
    }

    QTemporaryDir dir;
    ScriptedSerialControl control;
    PortLink link{control, [](const QString &) {}};
    RecordingTransferHost host;
    GraphicsPrinter printer;
    // The product's limits, but a printer that knows no NV graphics is given up on sooner.
    TransferOperations operations{link, host, {30s, 3min, 300ms, 50ms, 1500ms}};
};

TEST_F(GraphicsOperationsTest, UploadSendsEachDefineInItsFrameAndIsVerifiedByTheKeyList)
{
    // 16 x 8 dots fit GS ( L; 512 x 1040 dots are 66,560 bytes and need GS 8 L.
    const QImage small = noise(16, 8, 1);
    const QImage tall = noise(512, 1040, 2);
    const QList<ListedPicture> pictures{save(small, "small.bmp"), save(tall, "tall.bmp")};
    printer.capacity = "1000000";
    printer.keys = QList<QByteArray>{"01", "02"};
    printer.perBlock = 1;
    printer.attach(control);

    const TransferResult result = operations.upload(pictures, Port, Rate, NvCommandSet::Graphics);

    EXPECT_EQ(result.outcome, TransferOutcome::Succeeded) << result.message.toStdString();
    EXPECT_EQ(maskedIds(control.sent()), BeforeJob + AskCapacity + DeleteAll +
                                             hex("1D284C 1B00 30 43 30 3031 01 1000 0800 31") +
                                             rowsOf(small) +
                                             hex("1D384C 0B040100 30 43 30 3032 01 0002 1004 31") +
                                             rowsOf(tall) + AskKeys + Ack + Ack);
    EXPECT_EQ(host.events(),
              QStringList({"row:0", "row:1", "status:Writing",
                           "message:verified: 2 graphics stored", "status:SUCCESS"}));
    EXPECT_EQ(host.messages()[0].title, TransferTexts::DoneTitle);
    expectLinkClosed();
}

TEST_F(GraphicsOperationsTest, ASetOverTheCapacityOrOfAnUnknownStoreIsStoppedBeforeAnyDelete)
{
    // 2,048 bytes of dots and 24 of control information.
    const QList<ListedPicture> pictures{save(noise(512, 32, 3), "wide.bmp")};
    printer.keys = QList<QByteArray>{"01"};
    printer.attach(control);
    printer.capacity = "2072";
    EXPECT_EQ(operations.upload(pictures, Port, Rate, NvCommandSet::Graphics).outcome,
              TransferOutcome::Succeeded);

    // Too small, malformed, or no answer at all from a printer that answered its status.
    const struct
    {
        std::optional<QByteArray> capacity;
        QString message;
        QByteArray cutShort;
    } table[] = {
        {"2071", TransferTexts::graphicsDoNotFit(2072, 2071), {}},
        // Asked again, never read as 3702071.
        {"2071", TransferTexts::graphicsDoNotFit(2072, 2071), "703"},
        {"2:0", TransferTexts::graphicsUnknown(true, 50ms), {}},
        {{}, TransferTexts::graphicsUnknown(false, 50ms), {}},
    };
    for (const auto &row : table) {
        host = RecordingTransferHost();
        printer.capacity = row.capacity;
        printer.cutShort = row.cutShort;
        const qsizetype before = control.sent().size();
        const TransferResult result =
            operations.upload(pictures, Port, Rate, NvCommandSet::Graphics);
        EXPECT_EQ(result.outcome, TransferOutcome::Failed);
        EXPECT_EQ(result.message, row.message);
        EXPECT_EQ(maskedIds(control.sent().mid(before)),
                  BeforeJob + AskCapacity + (row.cutShort.isEmpty() ? "" : AskCapacity));
    }
    EXPECT_EQ(host.statuses(), QStringList({"FAILED"}));
    ASSERT_EQ(host.messages().size(), 1);
    EXPECT_EQ(host.messages()[0].title, TransferTexts::FailedTitle);
    expectLinkClosed();
}

// Either store takes 2,304 dots (288 record bytes) in height; a dot row more is refused before
// the link opens, with the picture's size and the limit.
TEST_F(GraphicsOperationsTest, ThePrintersHeightLimitTakesTheTallestPictureAndNoTaller)
{
    printer = {"1000000", {}, QList<QByteArray>{"01"}};
    printer.attach(control);
    const QList<ListedPicture> tallest{save(noise(64, 2311, 6), "tallest.bmp")};
    const QList<ListedPicture> taller{save(noise(64, 2312, 7), "taller.bmp")};
    for (const auto &[set, head] :
         {std::pair(NvCommandSet::BitImage, hex("1C7101 0800 2001")),
          std::pair(NvCommandSet::Graphics, hex("1D284C 0B48 3043 30 3031 01 4000 0009 31"))}) {
        const TransferResult stored = operations.upload(tallest, Port, Rate, set);
        EXPECT_TRUE(stored.outcome == TransferOutcome::Succeeded && control.sent().contains(head));
        const qsizetype writes = control.writes().size();
        const TransferResult refused = operations.upload(taller, Port, Rate, set);
        EXPECT_EQ(refused.outcome, TransferOutcome::Refused);
        EXPECT_TRUE(
            refused.message.contains("64 x 2312 dots, the picture is taller than the 2304"));
        EXPECT_EQ(control.writes().size(), writes);
    }
}

TEST_F(GraphicsOperationsTest, AGraphicMissingFromTheListOrNoListFailsTheUpload)
{
    const QString path = save(noise(8, 8, 4), "one.bmp");
    const QList<ListedPicture> pictures{path, path, path};
    printer.capacity = "1000";
    printer.keys = QList<QByteArray>{"01", "03"};
    printer.attach(control);
    TransferResult result = operations.upload(pictures, Port, Rate, NvCommandSet::Graphics);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, TransferTexts::graphicsMissing({"02"}, 3));
    EXPECT_EQ(host.statuses(), QStringList({"Writing", "FAILED"}));
    expectLinkClosed();
    printer.keys = QList<QByteArray>{"01", "02"}; // the last one is checked too
    EXPECT_EQ(operations.upload(pictures, Port, Rate, NvCommandSet::Graphics).message,
              TransferTexts::graphicsMissing({"03"}, 3));

    // A printer that never lists its keys is waited for up to the completion limit or 1.5 s a
    // graphic, whichever is longer, and the list cancelled.
    printer.keys.reset();
    TransferOperations impatient(link, host, {30s, 40ms, 300ms, 50ms, 20ms});
    result = impatient.upload(pictures, Port, Rate, NvCommandSet::Graphics);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, TransferTexts::uploadNotConfirmed(
                                  TransferTexts::keyListFailed(StoreAnswer::None, 60ms, 0)));
    EXPECT_TRUE(control.sent().endsWith(AskKeys + Can));
    expectLinkClosed();

    // A write that fails inside a define leaves the printer counting its bytes.
    printer.keys = QList<QByteArray>{"01", "02", "03"};
    control.failWritesAfter(BeforeJob.size() + AskCapacity.size() + DeleteAll.size() + 30,
                            QStringLiteral("gone"));
    result = operations.upload(pictures, Port, Rate, NvCommandSet::Graphics);
    EXPECT_TRUE(result.message.endsWith(TransferTexts::switchOffAndOn()));
}

TEST_F(GraphicsOperationsTest, ASilentPrinterLosesItsGraphicsOnlyOnceTheOperatorConfirms)
{
    const QImage picture = noise(8, 8, 5);
    const QString path = save(picture, "one.bmp");
    control.setStatusAnswers({});
    const QString question = "question:" + TransferTexts::deleteAllQuestion(1);

    host.setConfirm(false);
    TransferResult result = operations.upload({path}, Port, Rate, NvCommandSet::Graphics);
    EXPECT_EQ(result.outcome, TransferOutcome::Failed);
    EXPECT_EQ(result.message, TransferTexts::deleteAllNotConfirmed());
    EXPECT_EQ(control.sent(), SilentQuestion);
    expectLinkClosed();

    host = RecordingTransferHost();
    const qsizetype before = control.sent().size();
    result = operations.upload({path}, Port, Rate, NvCommandSet::Graphics);
    EXPECT_EQ(result.outcome, TransferOutcome::Succeeded);
    EXPECT_EQ(control.sent().mid(before), SilentQuestion + DeleteAll +
                                              hex("1D284C 1300 30 43 30 3031 01 0800 0800 31") +
                                              rowsOf(picture));
    EXPECT_EQ(host.events(), QStringList({question, "row:0", "status:Writing",
                                          "message:not verified (the printer does not answer)",
                                          "status:SUCCESS"}));
    expectLinkClosed();
}

TEST_F(GraphicsOperationsTest, EraseDeletesAllAndPrintPrintsTheListedKeysElse01ToFF)
{
    EXPECT_EQ(operations.erase(Port, Rate, NvCommandSet::Graphics).outcome,
              TransferOutcome::Succeeded);
    EXPECT_EQ(maskedIds(control.sent()), BeforeJob + DeleteAll + DeliveryQuestion);
    EXPECT_EQ(host.events(),
              QStringList({"status:PROCESSING", "message:Done!!", "status:SUCCESS"}));

    printer.keys = QList<QByteArray>{"01", "7r"};
    printer.attach(control);
    qsizetype before = control.sent().size();
    EXPECT_EQ(operations.print(Port, Rate, NvCommandSet::Graphics).outcome,
              TransferOutcome::Succeeded);
    EXPECT_EQ(maskedIds(control.sent().mid(before)),
              BeforeJob + AskKeys + Ack + printKey("01") + printKey("7r") + DeliveryQuestion);

    // A list of new keys block after block is refused past 255 keys, and nothing printed.
    QList<QByteArray> endless;
    for (int key = 0; key < 300; ++key)
        endless << QByteArray(1, char(33 + key / 90)) + char(33 + key % 90);
    printer.keys = endless;
    printer.perBlock = 40;
    before = control.sent().size();
    TransferResult refused = operations.print(Port, Rate, NvCommandSet::Graphics);
    EXPECT_EQ(refused.message, TransferTexts::nothingPrinted(
                                   TransferTexts::keyListFailed(StoreAnswer::TooLong, {}, 0)));
    EXPECT_EQ(maskedIds(control.sent().mid(before)), BeforeJob + AskKeys + Ack.repeated(6) + Can);

    // One that stops after its first block is given up on once the next is as late as the
    // first may be, and the list cancelled.
    printer.breaksOff = true;
    before = control.sent().size();
    refused = operations.print(Port, Rate, NvCommandSet::Graphics);
    EXPECT_EQ(refused.message, TransferTexts::nothingPrinted(
                                   TransferTexts::keyListFailed(StoreAnswer::BrokenOff, 50ms, 40)));
    EXPECT_EQ(maskedIds(control.sent().mid(before)), BeforeJob + AskKeys + Ack + Can);

    // Without the printer's list, every key an upload gives.
    control.setStatusAnswers({});
    const qsizetype silentStart = control.sent().size();
    EXPECT_EQ(operations.print(Port, Rate, NvCommandSet::Graphics).outcome,
              TransferOutcome::Succeeded);
    const QByteArray silent = control.sent().mid(silentStart);
    ASSERT_EQ(silent.size(), SilentQuestion.size() + 255 * 11);
    EXPECT_EQ(silent.mid(SilentQuestion.size(), 22), printKey("01") + printKey("02"));
    EXPECT_EQ(silent.mid(SilentQuestion.size() + 9 * 11, 11), printKey("0A"));
    EXPECT_TRUE(silent.endsWith(printKey("FE") + printKey("FF")));
    EXPECT_EQ(host.statuses(), QStringList({"PROCESSING", "SUCCESS", "FAILED", "FAILED"}));
    expectLinkClosed();
}

} // namespace
