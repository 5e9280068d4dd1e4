#include "EscPosParser.h"
#include "EscPosStreams.h"
#include "NvPrinter.h"

#include <QDir>
#include <QFile>
#include <QRandomGenerator>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

// A printer with its output directory and the log lines it wrote.
struct Bench
{
    QTemporaryDir dir;
    NvPrinter printer{dir.path()};
    QStringList lines;
    EscPosParser parser{printer, [this](const QString &line) { lines << line; }};

    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }
    QStringList prints() const
    {
        return QDir(dir.path()).entryList({QStringLiteral("*.png")}, QDir::Files, QDir::Name);
    }
};

const QImage PictureA = randomPicture(24, 16, 1);
const QImage PictureB = randomPicture(40, 8, 2);

class ParserTest : public ::testing::Test
{
protected:
    void storeA()
    {
        bench.parser.feed(defineCommand({encodeRecord(PictureA)}));
        bench.lines.clear();
    }

    Bench bench;
};

TEST_F(ParserTest, StoresRecordsAndPrintsThemDotForDot)
{
    bench.parser.feed(defineCommand({encodeRecord(PictureA), encodeRecord(PictureB)}) +
                      FinishCommand + printCommand(1) + printCommand(2));

    EXPECT_EQ(bench.lines, QStringList({
                               "FS q: stored 2 NV images (24x16, 40x8 dots)",
                               "GS BEL 02 01 01: finish",
                               "FS p: printed NV image 1 as print-0001-nv01.png (24x16, mode 0)",
                               "FS p: printed NV image 2 as print-0002-nv02.png (40x8, mode 0)",
                           }));
    EXPECT_EQ(pictureDifference(bench.file("print-0001-nv01.png"), PictureA), "");
    EXPECT_EQ(pictureDifference(bench.file("print-0002-nv02.png"), PictureB), "");
    EXPECT_TRUE(bench.parser.isIdle());
}

TEST_F(ParserTest, ANewSetReplacesTheOldOne)
{
    bench.parser.feed(defineCommand({encodeRecord(PictureA), encodeRecord(PictureA)}));
    bench.parser.feed(defineCommand({encodeRecord(PictureB)}) + printCommand(1) + printCommand(2));

    EXPECT_EQ(bench.lines.mid(1),
              QStringList({"FS q: stored 1 NV image (40x8 dots)",
                           "FS p: printed NV image 1 as print-0001-nv01.png (40x8, mode 0)",
                           "FS p: no NV image 2"}));
    EXPECT_EQ(pictureDifference(bench.file("print-0001-nv01.png"), PictureB), "");
}

TEST_F(ParserTest, TruncatedDefineStoresNothingAndKeepsThePreviousImages)
{
    const QByteArray define = defineCommand({encodeRecord(PictureB), encodeRecord(PictureB)});
    const int recordSize = 4 + 5 * 1 * 8;
    // Cut after the count, inside the first header, inside the data, one byte short.
    for (const int cut : {3, 5, 3 + 20, 3 + recordSize + 2, int(define.size()) - 1}) {
        SCOPED_TRACE(cut);
        Bench bench;
        bench.parser.feed(defineCommand({encodeRecord(PictureA)}));
        bench.parser.feed(define.first(cut));
        EXPECT_FALSE(bench.parser.isIdle());
        bench.parser.endOfStream();
        EXPECT_TRUE(bench.parser.isIdle());
        bench.parser.feed(printCommand(1) + printCommand(2));

        const QString record = cut < 3 + recordSize ? "1" : "2";
        EXPECT_EQ(
            bench.lines.mid(1),
            QStringList({"FS q: error: stream ended in record " + record + " of 2, stored nothing",
                         "FS p: printed NV image 1 as print-0001-nv01.png (24x16, mode 0)",
                         "FS p: no NV image 2"}));
        EXPECT_EQ(pictureDifference(bench.file("print-0001-nv01.png"), PictureA), "");
    }
}

TEST_F(ParserTest, BadRecordSizeStoresNothingAndTheStreamStaysInStep)
{
    struct Case
    {
        int x, y;
    };
    for (const Case bad : {Case{0, 4}, Case{1024, 1}, Case{1, 0}, Case{2, 289}}) {
        SCOPED_TRACE(QStringLiteral("%1x%2").arg(bad.x).arg(bad.y).toStdString());
        Bench bench;
        bench.parser.feed(defineCommand({encodeRecord(PictureA)}));
        // The bad record's data is full of print commands that must not be obeyed.
        QByteArray data;
        while (data.size() < bad.x * bad.y * 8)
            data += printCommand(1);
        bench.parser.feed(defineCommand({encodeRecord(PictureB),
                                         recordHeader(bad.x, bad.y) + data.first(bad.x * bad.y * 8),
                                         encodeRecord(PictureB)}) +
                          printCommand(1));

        EXPECT_EQ(bench.lines.mid(1),
                  QStringList({QStringLiteral("FS q: error: record 2 of 3 has a bad size (x=%1, "
                                              "y=%2), stored nothing")
                                   .arg(bad.x)
                                   .arg(bad.y),
                               "FS p: printed NV image 1 as print-0001-nv01.png (24x16, mode 0)"}));
        EXPECT_EQ(pictureDifference(bench.file("print-0001-nv01.png"), PictureA), "");
        EXPECT_TRUE(bench.parser.isIdle());
    }
}

TEST_F(ParserTest, EraseRemovesEveryImage)
{
    bench.parser.feed(defineCommand({encodeRecord(PictureA), encodeRecord(PictureB)}));
    bench.parser.feed(QByteArray("\x1C\x71\x00", 3) + FinishCommand + printCommand(1) +
                      printCommand(2));

    EXPECT_EQ(bench.lines.mid(1), QStringList({"FS q: erased NV images", "GS BEL 02 01 01: finish",
                                               "FS p: no NV image 1", "FS p: no NV image 2"}));
    EXPECT_TRUE(bench.prints().isEmpty());
}

TEST_F(ParserTest, PrintingEveryNumberPrintsOnlyTheStoredImages)
{
    storeA();
    QByteArray all;
    for (int number = 1; number <= 255; ++number)
        all += printCommand(number);
    bench.parser.feed(all);

    ASSERT_EQ(bench.lines.size(), 255);
    EXPECT_EQ(bench.lines[0], "FS p: printed NV image 1 as print-0001-nv01.png (24x16, mode 0)");
    EXPECT_EQ(bench.lines[1], "FS p: no NV image 2");
    EXPECT_EQ(bench.lines[254], "FS p: no NV image 255");
    EXPECT_EQ(bench.prints(), QStringList({"print-0001-nv01.png"}));
}

TEST_F(ParserTest, PrintModesScaleTheImage)
{
    storeA();
    struct Case
    {
        int mode, scaleX, scaleY;
    };
    const Case cases[] = {{1, 2, 1},  {2, 1, 2},  {3, 2, 2}, {48, 1, 1},
                          {49, 2, 1}, {50, 1, 2}, {51, 2, 2}};
    int count = 0;
    for (const Case c : cases) {
        SCOPED_TRACE(c.mode);
        bench.parser.feed(printCommand(1, c.mode));
        const QString name = QStringLiteral("print-%1-nv01.png").arg(++count, 4, 10, QChar('0'));
        EXPECT_EQ(bench.lines.last(),
                  QStringLiteral("FS p: printed NV image 1 as %1 (%2x%3, mode %4)")
                      .arg(name)
                      .arg(24 * c.scaleX)
                      .arg(16 * c.scaleY)
                      .arg(c.mode));
        EXPECT_EQ(pictureDifference(bench.file(name), PictureA, c.scaleX, c.scaleY), "");
    }

    bench.parser.feed(printCommand(1, 4) + printCommand(1, 52));
    EXPECT_EQ(bench.lines.mid(count),
              QStringList({"FS p: bad mode 4 for NV image 1, printed nothing",
                           "FS p: bad mode 52 for NV image 1, printed nothing"}));
    EXPECT_EQ(bench.prints().size(), count);
}

TEST_F(ParserTest, UnknownBytesAreLoggedAsRuns)
{
    bench.parser.feed(QByteArray("\x1B\x40\x41", 3) + printCommand(9) +
                      QByteArray("\x1D\x07\x03\x1C", 4) + printCommand(9) + QByteArray(40, ' ') +
                      QByteArray("\x1C\x70", 2));
    EXPECT_FALSE(bench.parser.isIdle());
    bench.parser.endOfStream();

    EXPECT_EQ(bench.lines,
              QStringList({"unknown 3 bytes: 1B 40 41", "FS p: no NV image 9",
                           "unknown 4 bytes: 1D 07 03 1C", "FS p: no NV image 9",
                           "unknown 42 bytes: " + QStringList(32, "20").join(' ') + " ..."}));
    EXPECT_TRUE(bench.parser.isIdle());
}

// The printer sees the stream in whatever pieces the line delivers.
TEST(ParserStatus, AnswersDleEotWithItsStateInsideRecordsToo)
{
    const QByteArray asked = QByteArray::fromHex("100401100402100404100403");
    const struct
    {
        PrinterState state;
        const char *answers;
    } table[] = {
        {PrinterState::Ready, "12121212"},    {PrinterState::CoverOpen, "1a161212"},
        {PrinterState::PaperEnd, "1a327e12"}, {PrinterState::PaperNearEnd, "12121e12"},
        {PrinterState::Offline, "1a121212"},
    };
    for (const auto &row : table) {
        QTemporaryDir dir;
        NvPrinter printer(dir.path());
        printer.setState(row.state);
        QStringList lines;
        QByteArray replies;
        EscPosParser parser(
            printer, [&lines](const QString &line) { lines << line; },
            [&replies](QByteArrayView bytes) { replies += bytes; });
        parser.feed(asked);
        EXPECT_EQ(replies.toHex(), QByteArray(row.answers)) << row.answers;
        EXPECT_EQ(lines.first(),
                  "DLE EOT 1: answered " + QByteArray(row.answers).first(2).toUpper());

        // Inside a record the same bytes are dots, and answered at once all the same; an n the
        // printer does not know is no command.
        replies.clear();
        lines.clear();
        parser.feed(defineCommand({recordHeader(1, 1) + asked.first(8)}) +
                    QByteArray::fromHex("100409"));
        parser.endOfStream();
        const QByteArray answers = QByteArray(row.answers).toUpper();
        EXPECT_EQ(replies.toHex().toUpper(), answers.first(4));
        EXPECT_EQ(lines, QStringList({"DLE EOT 1 inside data: answered " + answers.first(2),
                                      "DLE EOT 2 inside data: answered " + answers.sliced(2, 2),
                                      "FS q: stored 1 NV image (8x8 dots)",
                                      "unknown 3 bytes: 10 04 09"}));
    }

    Bench oneWay;
    oneWay.parser.feed(asked.first(3));
    EXPECT_EQ(oneWay.lines, QStringList{"DLE EOT 1: not answered (one-way line)"});
}

TEST(ParserChunking, AnyChunkingGivesTheSameLogAndPrints)
{
    const QByteArray stream =
        QByteArray("\x1B\x40", 2) +
        defineCommand({encodeRecord(PictureA), encodeRecord(PictureB)}) + FinishCommand +
        printCommand(2, 3) + defineCommand({recordHeader(0, 1)}) +
        QByteArray("\x1D\x1C\x71\x00", 4) + printCommand(1) +
        defineCommand({encodeRecord(PictureB)}) + printCommand(1, 49) + printCommand(2) +
        graphicsFunction(columnGraphicBody("01", PictureA)) + printGraphicCommand("01", 2, 2) +
        graphicsFunction(QByteArray("\x30\x30", 2)) + QByteArray("\x1D\x28\x4C\x01", 4);

    Bench whole;
    whole.parser.feed(stream);
    whole.parser.endOfStream();
    ASSERT_EQ(whole.lines.size(), 15);
    ASSERT_EQ(whole.prints().size(), 3);

    Bench byByte;
    for (const char byte : stream)
        byByte.parser.feed(QByteArrayView(&byte, 1));
    byByte.parser.endOfStream();

    Bench random;
    QRandomGenerator sizes(7);
    for (QByteArrayView rest(stream); !rest.isEmpty();) {
        const qsizetype size = std::min<qsizetype>(sizes.bounded(1, 60), rest.size());
        random.parser.feed(rest.first(size));
        rest = rest.sliced(size);
    }
    random.parser.endOfStream();

    for (const Bench *other : {&byByte, &random}) {
        EXPECT_EQ(other->lines, whole.lines);
        ASSERT_EQ(other->prints(), whole.prints());
        for (const QString &name : whole.prints()) {
            QFile a(whole.file(name)), b(other->file(name));
            ASSERT_TRUE(a.open(QIODevice::ReadOnly) && b.open(QIODevice::ReadOnly));
            EXPECT_EQ(a.readAll(), b.readAll()) << name.toStdString();
        }
    }
}

} // namespace
