#include "IdentityScanner.h"
#include "IdentityInquiry.h"
#include "InOrderAnswerScanner.h"

#include <gtest/gtest.h>

namespace {

std::optional<QString> scanInPieces(const QByteArray &bytes, qsizetype piece)
{
    IdentityScanner scanner;
    for (qsizetype at = 0; at < bytes.size(); at += piece)
        scanner.feed(QByteArrayView(bytes).sliced(at, std::min(piece, bytes.size() - at)));
    return scanner.text();
}

TEST(IdentityScanner, FindsTheAnswerInAnyPiecesAndRefusesHostileOnes)
{
    const QByteArray longText(10 * 1024, 'A');
    const struct
    {
        QByteArray bytes;
        std::optional<QString> text;
    } table[] = {
        {QByteArray("_POS-80\0", 8), QStringLiteral("POS-80")},
        // Stray status bytes and an ASB block before the header; XON / XOFF anywhere.
        {QByteArray::fromHex("12 14000f00 11") + QByteArray("_AB\x13"
                                                            "C\0",
                                                            6),
         QStringLiteral("ABC")},
        // A byte shaped as an ASB block's first does not hide the header after it.
        {QByteArray("\x14_x\0", 4), QStringLiteral("x")},
        // No NUL: no answer, however long the wait.
        {QByteArray("_Model without end"), std::nullopt},
        // A control byte spoils the answer, whatever follows.
        {QByteArray("_Bad\x07text\0_Good\0", 16), std::nullopt},
        {QByteArray("_Bad\x1btext\0", 10), std::nullopt},
        // 10 kB of text is no identity; a long but sane one is cut to 80 characters.
        {'_' + longText + '\0', std::nullopt},
        {'_' + QByteArray(200, 'B') + '\0', QString(80, QLatin1Char('B'))},
        {'_' + longText + QByteArray("_ok\0", 4), std::nullopt},
        // Bytes above 7E are no ASCII.
        {QByteArray("_caf\xe9\0", 6), std::nullopt},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.bytes.left(40).toHex().toStdString());
        for (const qsizetype piece : {qsizetype(1), qsizetype(2), qsizetype(3), row.bytes.size()})
            EXPECT_EQ(scanInPieces(row.bytes, piece), row.text) << "pieces of " << piece;
    }
    // Once found, the answer stays whatever follows.
    IdentityScanner scanner;
    scanner.feed(QByteArray("_one\0_two\0", 10));
    scanner.feed(QByteArray("_three\0", 7));
    EXPECT_EQ(scanner.text(), QStringLiteral("one"));
    EXPECT_EQ(identityQuestion(IdentityItem::Model), QByteArray::fromHex("1d4943"));
}

// After a job only the answer to its own question counts: the job's process ID, or the text
// given before the job; stale answers, broken ones and status bytes are passed over.
TEST(InOrderAnswerScanner, FindsOnlyTheAwaitedAnswer)
{
    const auto processId = [] {
        return InOrderAnswerScanner(QByteArray("\x37\x22"),
                                    [](QByteArrayView id) { return id == "0042"; });
    };
    const struct
    {
        QByteArray bytes;
        bool found;
    } table[] = {
        {QByteArray("7\"0042\0", 7), true},
        {QByteArray("\x12\x12"
                    "7\"0041\0"
                    "7\"004\x01"
                    "7\"0042\0",
                    22),
         true},
        {QByteArray("77\"0042\0", 8), true},
        {QByteArray("7\"0041\0\x12\x12\x12", 10), false},
        {QByteArray("7\"00420\0", 8), false},
    };
    for (const auto &row : table) {
        for (qsizetype piece : {qsizetype(1), row.bytes.size()}) {
            InOrderAnswerScanner scanner = processId();
            for (qsizetype at = 0; at < row.bytes.size(); at += piece)
                scanner.feed(QByteArrayView(row.bytes).sliced(at, piece));
            EXPECT_EQ(scanner.found(), row.found) << row.bytes.toHex().toStdString();
        }
    }
}

} // namespace
