#include "GraphicsCommands.h"
#include "GraphicsAnswers.h"

#include <QSet>

#include <gtest/gtest.h>

#include <functional>

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(text);
}

TEST(GraphicsCommands, DefinesInTheShortFrameByteForByte)
{
    // 12 x 2 dots: two bytes a row, the last four bits of each row padding.
    EXPECT_EQ(defineGraphic("01", 12, 2, hex("A5F0 0F10")),
              hex("1D284C 0F00 30 43 30 3031 01 0C00 0200 31 A5F00F10"));
    EXPECT_EQ(defineGraphic("FF", 8192, 1, QByteArray(1024, '\xFF'))->left(16),
              hex("1D284C 0B04 30 43 30 4646 01 0020 0100 31"));
}

TEST(GraphicsCommands, ABodyOver65535BytesTakesTheLongFrame)
{
    EXPECT_EQ(graphicsFrame(QByteArray(65535, 'a')).left(5), hex("1D284C FFFF"));
    EXPECT_EQ(graphicsFrame(QByteArray(65536, 'a')).left(7), hex("1D384C 00000100"));

    // 512 x 1024 dots: 65,536 bytes of rows and 11 before them.
    QByteArray rows(64 * 1024, '\0');
    rows[0] = '\x80';
    rows[rows.size() - 1] = '\x01';
    const std::optional<QByteArray> define = defineGraphic("0A", 512, 1024, rows);
    ASSERT_TRUE(define);
    EXPECT_EQ(define->size(), 7 + 11 + rows.size());
    EXPECT_EQ(define->left(18), hex("1D384C 0B000100 30 43 30 3041 01 0002 0004 31"));
    EXPECT_EQ(define->mid(18), rows);
}

TEST(GraphicsCommands, RefusesWhatAPrinterDoesNotTake)
{
    const QByteArray one(1, '\0');
    EXPECT_FALSE(defineGraphic("1", 8, 1, one));
    EXPECT_FALSE(defineGraphic("0\x1F", 8, 1, one));
    EXPECT_FALSE(defineGraphic("0\x7F", 8, 1, one));
    EXPECT_FALSE(defineGraphic("01", 0, 1, {}));
    EXPECT_FALSE(defineGraphic("01", 8, 0, {}));
    EXPECT_FALSE(defineGraphic("01", 8193, 1, QByteArray(1025, '\0')));
    EXPECT_FALSE(defineGraphic("01", 8, 2305, QByteArray(2305, '\0')));
    EXPECT_FALSE(defineGraphic("01", 9, 1, one));
    EXPECT_TRUE(defineGraphic(" ~", 8, 2304, QByteArray(2304, '\0')));
}

TEST(GraphicsCommands, FixedFunctionsByteForByte)
{
    EXPECT_EQ(printGraphic("01"), hex("1D284C 0600 30 45 3031 01 01"));
    EXPECT_EQ(deleteAllGraphics(), hex("1D284C 0500 30 41 434C52"));
    EXPECT_EQ(deleteGraphic("FF"), hex("1D284C 0400 30 42 4646"));
    EXPECT_EQ(askGraphicsCapacity(), hex("1D284C 0200 30 30"));
    EXPECT_EQ(askGraphicsRemaining(), hex("1D284C 0200 30 33"));
    EXPECT_EQ(askGraphicKeys(), hex("1D284C 0400 30 40 4B43"));
}

TEST(GraphicsCommands, PicturesAreKeyedInUpperCaseHexadecimal)
{
    EXPECT_EQ(graphicKey(1), "01");
    EXPECT_EQ(graphicKey(10), "0A");
    EXPECT_EQ(graphicKey(171), "AB");
    EXPECT_EQ(graphicKey(255), "FF");
    QSet<QByteArray> keys;
    for (int picture = 1; picture <= 255; ++picture) {
        EXPECT_TRUE(isGraphicKey(graphicKey(picture)));
        keys.insert(graphicKey(picture));
    }
    EXPECT_EQ(keys.size(), 255);
}

// Fed whole and a byte at a time, the scanner must tell the same.
template <typename Scanner, typename Make>
void expectSameInPieces(const QByteArray &bytes, Make make,
                        const std::function<void(Scanner &)> &check)
{
    Scanner whole = make();
    whole.feed(bytes);
    check(whole);
    Scanner pieces = make();
    for (const char byte : bytes)
        pieces.feed(QByteArrayView(&byte, 1));
    check(pieces);
}

TEST(GraphicsAnswers, FiguresAreOneToEightDigitsBetweenHeaderAndNul)
{
    const struct
    {
        const char *bytes;
        StoreFigure figure;
        std::optional<qint64> value; // nothing: no answer yet, or a malformed one
        bool malformed;
        bool ambiguous = false;
    } table[] = {
        {"3730 323632313434 00", StoreFigure::Capacity, 262144, false},
        {"3730 323632313434", StoreFigure::Capacity, {}, false},
        {"3730 323632313434 00", StoreFigure::Remaining, {}, false},
        {"3731 30 00", StoreFigure::Remaining, 0, false},
        // Status bytes, an ASB block, XON and XOFF around and inside the answer.
        {"12 16 FF 37 14000F00 3730 31 11 30 13 1C00000F 3234 00 12", StoreFigure::Capacity, 1024,
         false},
        {"3730 3132 12 33 00", StoreFigure::Capacity, {}, true},
        {"3730 00", StoreFigure::Capacity, {}, true},
        // A header byte just before the header: the partial header is not forgotten.
        {"37 3730 31 00", StoreFigure::Capacity, 1, false},
        {"3730 3132333435363738 00", StoreFigure::Capacity, 12345678, false},
        {"3730 313233343536373839 00", StoreFigure::Capacity, {}, true},
        // An answer cut short, then a whole one, or a figure that holds the header: the digits
        // alone cannot tell.
        {"3730 33 3730 3132 00", StoreFigure::Capacity, 37012, false, true},
        {"3730 31 3730 33393336 00", StoreFigure::Capacity, 1703936, false, true},
        {"3731 3730 00", StoreFigure::Remaining, 70, false, false},
        // Once found, what follows changes nothing.
        {"3730 35 00 3730 36 00", StoreFigure::Capacity, 5, false},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.bytes);
        expectSameInPieces<StoreFigureScanner>(
            QByteArray::fromHex(row.bytes), [&] { return StoreFigureScanner(row.figure); },
            [&](StoreFigureScanner &scanner) {
                EXPECT_EQ(scanner.figure(), row.value);
                EXPECT_EQ(scanner.malformed(), row.malformed);
                EXPECT_EQ(scanner.ambiguous(), row.ambiguous);
            });
    }
}

TEST(GraphicsAnswers, KeyBlocksAreReadOneAfterAnotherUpTo255Keys)
{
    const struct
    {
        const char *bytes;
        QList<QByteArray> keys;
        bool more;
        bool malformed;
    } table[] = {
        {"16 12 3772 41 3031 3772 4646 00 12", {"01", "7r", "FF"}, true, false},
        {"3772 40 00", {}, false, false},
        {"3772 40 30 11 31 1000000F 00", {"01"}, false, false},
        // An odd count of characters, a bad block status, a key outside 32..126.
        {"3772 40 30 00", {}, false, true},
        {"3772 42 3031 00", {}, false, true},
        {"3772 40 307F 00", {}, false, true},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.bytes);
        expectSameInPieces<KeyListScanner>(
            QByteArray::fromHex(row.bytes), [] { return KeyListScanner(); },
            [&](KeyListScanner &scanner) {
                EXPECT_EQ(scanner.malformed(), row.malformed);
                EXPECT_EQ(scanner.found(), !row.malformed);
                if (scanner.found()) {
                    EXPECT_EQ(scanner.blockKeys(), row.keys);
                    EXPECT_EQ(scanner.more(), row.more);
                }
            });
    }

    // Blocks of a flood of "7r@" never end; the 256th key refuses the list.
    KeyListScanner flood;
    flood.feed(QByteArray("7r@").repeated(1 << 20));
    EXPECT_TRUE(flood.tooLong());
    KeyListScanner endless;
    const QByteArray block = QByteArray("7rA") + QByteArray(200, 'K') + '\0'; // 100 keys
    for (int blocks = 0; blocks < 3 && !endless.malformed(); ++blocks) {
        endless.nextBlock();
        endless.feed(block);
    }
    EXPECT_TRUE(endless.tooLong());
    EXPECT_EQ(endless.keysSoFar(), 255);
}

} // namespace
