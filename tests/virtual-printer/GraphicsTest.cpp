#include "EscPosParser.h"
#include "EscPosStreams.h"
#include "NvPrinter.h"

#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

// A printer whose answers and log lines the test reads.
struct Bench
{
    explicit Bench(qint64 capacity = 256 * 1024)
        : printer(dir.path(), {capacity, {}, {}, {}})
    {}

    QString file(const QString &name) const { return QDir(dir.path()).filePath(name); }

    QTemporaryDir dir;
    NvPrinter printer;
    QByteArray answers;
    QStringList lines;
    EscPosParser parser{printer, [this](const QString &line) { lines << line; },
                        [this](QByteArrayView bytes) { answers += bytes; }};
};

const QByteArray AskCapacity = hex("1D284C 0200 3030");
const QByteArray AskFree = hex("1D284C 0200 3033");
const QByteArray AskKeys = hex("1D284C 0400 3040 4B43");
const QByteArray DeleteAll = hex("1D284C 0500 3041 434C52");
const QByteArray Ack("\x06");
const QByteArray Can("\x18");
const QByteArray Nak("\x15");

QByteArray deleteOne(const QByteArray &key)
{
    return graphicsFunction("\x30\x42" + key);
}

TEST(Graphics, RasterAndColumnDefinesAreStoredByKeyAndPrintedDotForDot)
{
    Bench bench;
    // Sides that are no multiple of 8 leave padding bits in both layouts.
    const QImage rows = randomPicture(20, 10, 3);
    const QImage columns = randomPicture(13, 11, 4);
    bench.parser.feed(graphicsFunction(rasterGraphicBody("01", rows)) +
                      graphicsFunction(columnGraphicBody("A/", columns)) +
                      printGraphicCommand("01") + printGraphicCommand("A/", 2, 1) +
                      printGraphicCommand("A/", 1, 2) + printGraphicCommand("02"));

    EXPECT_EQ(bench.lines, QStringList({
                               R"(GS ( L: stored graphic "01" (20x10 dots, 30 bytes, raster))",
                               R"(GS ( L: stored graphic "A/" (13x11 dots, 26 bytes, columns))",
                               R"(GS ( L: printed graphic "01" as print-0001-key01.png (20x10))",
                               R"(GS ( L: printed graphic "A/" as print-0002-keyA_2F.png (26x11))",
                               R"(GS ( L: printed graphic "A/" as print-0003-keyA_2F.png (13x22))",
                               R"(GS ( L: no graphic "02")",
                           }));
    EXPECT_EQ(pictureDifference(bench.file("print-0001-key01.png"), rows), "");
    EXPECT_EQ(pictureDifference(bench.file("print-0002-keyA_2F.png"), columns, 2, 1), "");
    EXPECT_EQ(pictureDifference(bench.file("print-0003-keyA_2F.png"), columns, 1, 2), "");
    EXPECT_TRUE(bench.parser.isIdle());
}

TEST(Graphics, ADefineOver65535BytesComesInTheLongFrame)
{
    Bench bench(1024 * 1024);
    const QImage tall = randomPicture(520, 1040, 5); // 65 x 1040 = 67,600 bytes of rows
    bench.parser.feed(graphicsFunction(rasterGraphicBody("FF", tall), true) +
                      printGraphicCommand("FF") + graphicsFunction(hex("3045 4646 0101"), true) +
                      printGraphicCommand("FF", 3));
    EXPECT_EQ(bench.lines,
              QStringList({
                  R"(GS 8 L: stored graphic "FF" (520x1040 dots, 67600 bytes, raster))",
                  R"(GS ( L: printed graphic "FF" as print-0001-keyFF.png (520x1040))",
                  "GS 8 L: error: fn 69 is not taken in this frame, did nothing",
                  R"(GS ( L: bad scale 3x1 for graphic "FF", printed nothing)",
              }));
    EXPECT_EQ(pictureDifference(bench.file("print-0001-keyFF.png"), tall), "");
}

TEST(Graphics, TheStoreAnswersFromWhatItHoldsAndRefusesWhatDoesNotFit)
{
    Bench bench(1000);
    const QByteArray small = rasterGraphicBody("01", randomPicture(80, 20, 6));  // 200 bytes
    const QByteArray big = rasterGraphicBody("02", randomPicture(80, 90, 7));    // 900 bytes
    const QByteArray whole = rasterGraphicBody("01", randomPicture(64, 122, 8)); // 976 bytes
    bench.parser.feed(AskCapacity + graphicsFunction(small) + AskFree + graphicsFunction(big) +
                      AskKeys + Ack + graphicsFunction(whole) + AskFree +
                      printGraphicCommand("02") + deleteOne("01") + deleteOne("01") + AskFree +
                      graphicsFunction(small) + DeleteAll + AskKeys);

    // Each graphic takes 24 bytes of control information besides its data.
    EXPECT_EQ(bench.answers, hex("3730 31303030 00"
                                 "3731 373736 00"
                                 "3772 40 3031 00"
                                 "3731 30 00"
                                 "3731 31303030 00"
                                 "3772 40 00"));
    EXPECT_EQ(
        bench.lines,
        QStringList({
            "GS ( L: capacity asked, answered 1000",
            R"(GS ( L: stored graphic "01" (80x20 dots, 200 bytes, raster))",
            "GS ( L: free bytes asked, answered 776",
            R"(GS ( L: no room for graphic "02" (900 bytes and 24 of control information, 776 free), stored nothing)",
            "GS ( L: key list asked, answered 1 key",
            "ACK: the key list is over",
            R"(GS ( L: stored graphic "01" (64x122 dots, 976 bytes, raster))",
            "GS ( L: free bytes asked, answered 0",
            R"(GS ( L: no graphic "02")",
            R"(GS ( L: deleted graphic "01")",
            R"(GS ( L: no graphic "01" to delete)",
            "GS ( L: free bytes asked, answered 1000",
            R"(GS ( L: stored graphic "01" (80x20 dots, 200 bytes, raster))",
            "GS ( L: deleted every graphic",
            "GS ( L: key list asked, answered 0 keys",
        }));

    // On a one-way line nothing goes back.
    QStringList lines;
    EscPosParser oneWay(bench.printer, [&lines](const QString &line) { lines << line; });
    oneWay.feed(AskCapacity);
    EXPECT_EQ(lines, QStringList({"GS ( L: capacity asked, not answered (one-way line)"}));
}

TEST(Graphics, AKeyListComesInBlocksOf40EachAnsweredByAckNakOrCan)
{
    Bench bench;
    QList<QByteArray> keys;
    for (int n = 0; n < 170; ++n) {
        keys << QByteArray(1, char(' ' + n % 95)) + char('A' + n / 95);
        bench.parser.feed(graphicsFunction(rasterGraphicBody(keys.last(), randomPicture(8, 1, n))));
    }
    bench.lines.clear();
    // The list comes in the order of the keys' bytes.
    std::sort(keys.begin(), keys.end());
    const QByteArray sorted = keys.join();
    const auto block = [&sorted](int first, bool more) {
        return hex(more ? "3772 41" : "3772 40") + sorted.sliced(first * 2).first(more ? 80 : 20) +
               '\0';
    };

    // Any byte but ACK, NAK or CAN cancels the list and is consumed: here a print command's GS.
    bench.parser.feed(AskKeys + Nak + Ack.repeated(5) + AskKeys + Can + AskKeys + hex("1D") +
                      AskFree);
    EXPECT_EQ(bench.answers, block(0, true) + block(0, true) + block(40, true) + block(80, true) +
                                 block(120, true) + block(160, false) + block(0, true) +
                                 block(0, true) + hex("3731 323537383934 00"));
    const QString next = QStringLiteral("key-list block, answered 40 keys, more follow");
    EXPECT_EQ(bench.lines, QStringList({
                               "GS ( L: key list asked, answered 40 keys, more follow",
                               "NAK: the same block again",
                               next,
                               "ACK: the next block",
                               next,
                               "ACK: the next block",
                               next,
                               "ACK: the next block",
                               next,
                               "ACK: the next block",
                               "key-list block, answered 10 keys",
                               "ACK: the key list is over",
                               "GS ( L: key list asked, answered 40 keys, more follow",
                               "CAN: dropped the rest of the key list",
                               "GS ( L: key list asked, answered 40 keys, more follow",
                               "error: 1D instead of ACK, NAK or CAN after a key-list block: "
                               "cancelled the list and consumed the byte",
                               "GS ( L: free bytes asked, answered 257894",
                           }));
}

TEST(Graphics, ABadFunctionDoesNothingAndTheStreamStaysInStep)
{
    Bench bench;
    const QImage picture = randomPicture(16, 8, 9);
    QByteArray shortData = rasterGraphicBody("01", picture);
    shortData.chop(1);
    QByteArray wide = rasterGraphicBody("01", picture);
    wide[6] = char(0x01);
    wide[7] = char(0x20); // 8193 dots
    QByteArray badKey = rasterGraphicBody("01", picture);
    badKey[4] = char(0x7F);
    // Each bad body is full of print commands that must not be obeyed.
    QByteArray unsupported = hex("3070") + printGraphicCommand("01").repeated(3);

    bench.parser.feed(graphicsFunction(rasterGraphicBody("01", picture)) +
                      graphicsFunction(shortData) + graphicsFunction(wide) +
                      graphicsFunction(badKey) + graphicsFunction(unsupported) +
                      graphicsFunction(hex("3045 3031 01")) + graphicsFunction(hex("3041 434C")) +
                      printGraphicCommand("01"));
    bench.parser.feed(graphicsFunction(rasterGraphicBody("02", picture)).first(20));
    EXPECT_FALSE(bench.parser.isIdle());
    bench.parser.endOfStream();
    bench.parser.feed(QByteArray("\x1D\x28\x4C\x05", 4));
    bench.parser.endOfStream();
    bench.parser.feed(printGraphicCommand("02"));
    // DLE EOT inside a define's data is answered at once; the bytes stay data.
    QByteArray asking = rasterGraphicBody("03", picture);
    asking.replace(11, 3, hex("100401"));
    bench.answers.clear();
    bench.parser.feed(graphicsFunction(asking));

    EXPECT_EQ(bench.lines,
              QStringList({
                  R"(GS ( L: stored graphic "01" (16x8 dots, 16 bytes, raster))",
                  "GS ( L: error: fn 67 with 15 data bytes instead of 16, stored nothing",
                  "GS ( L: error: fn 67 with a bad size (8193x8 dots), stored nothing",
                  "GS ( L: error: fn 67 with a bad key, stored nothing",
                  "GS ( L: fn 112 is not supported, did nothing",
                  "GS ( L: error: fn 69 with 5 bytes instead of 6, did nothing",
                  "GS ( L: error: fn 65 with parameters it does not take, did nothing",
                  R"(GS ( L: printed graphic "01" as print-0001-key01.png (16x8))",
                  "GS ( L: error: stream ended after 15 of 27 bytes, did nothing",
                  "GS ( L: error: stream ended in the byte count, did nothing",
                  R"(GS ( L: no graphic "02")",
                  "DLE EOT 1 inside data: answered 12",
                  R"(GS ( L: stored graphic "03" (16x8 dots, 16 bytes, raster))",
              }));
    EXPECT_EQ(bench.answers, hex("12"));
    EXPECT_TRUE(bench.parser.isIdle());
}

} // namespace
