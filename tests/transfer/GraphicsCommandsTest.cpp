#include "GraphicsCommands.h"
#include "GraphicsAnswers.h"

#include <QSet>

#include <gtest/gtest.h>

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

TEST(GraphicsAnswers, FiguresAreFoundWhole)
{
    const QByteArray capacity = hex("3730 323632313434 00");
    for (qsizetype cut = 0; cut < capacity.size(); ++cut)
        EXPECT_FALSE(findStoreFigure(capacity.left(cut), StoreFigure::Capacity)) << cut;
    EXPECT_EQ(findStoreFigure(capacity, StoreFigure::Capacity), 262144);
    EXPECT_FALSE(findStoreFigure(capacity, StoreFigure::Remaining));
    EXPECT_EQ(findStoreFigure(hex("3731 30 00"), StoreFigure::Remaining), 0);

    // Status bytes, noise and answers that break off come before the real one.
    const QByteArray noisy =
        hex("12 16 FF 37 3730 00 3730 3132 58 00 3730 3132333435363738393031323300"
            "1E 3730 31303234 00 12");
    EXPECT_EQ(findStoreFigure(noisy, StoreFigure::Capacity), 1024);
    EXPECT_FALSE(findStoreFigure(hex("3730 3132 12 33 00"), StoreFigure::Capacity));
}

TEST(GraphicsAnswers, KeyBlocksAreFoundWhole)
{
    const QByteArray block = hex("3772 41 3031 3772 4646 00");
    for (qsizetype cut = 0; cut < block.size(); ++cut)
        EXPECT_FALSE(findKeyListBlock(block.left(cut))) << cut;
    const std::optional<KeyListBlock> found = findKeyListBlock(hex("16 12") + block + hex("12"));
    ASSERT_TRUE(found);
    EXPECT_TRUE(found->more);
    EXPECT_EQ(found->keys, QList<QByteArray>({"01", "7r", "FF"}));

    const std::optional<KeyListBlock> empty = findKeyListBlock(hex("3772 40 00"));
    ASSERT_TRUE(empty);
    EXPECT_FALSE(empty->more);
    EXPECT_TRUE(empty->keys.isEmpty());

    // An odd count of characters, a bad block status, a key outside 32..126: no answer.
    for (const char *broken : {"3772 40 30 00", "3772 42 3031 00", "3772 40 307F 00"})
        EXPECT_FALSE(findKeyListBlock(hex(broken))) << broken;
    const std::optional<KeyListBlock> after =
        findKeyListBlock(hex("3772 40 30 00 3772 40 4142 00"));
    ASSERT_TRUE(after);
    EXPECT_EQ(after->keys, QList<QByteArray>({"AB"}));
}

} // namespace
