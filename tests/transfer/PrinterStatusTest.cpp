#include "PrinterStatus.h"
#include "QtPrinters.h"
#include "StatusScanner.h"
#include "TransferTexts.h"

#include <gtest/gtest.h>

namespace {

TEST(PrinterStatus, QuestionsAreDleEot124ThenThreeForTheErrorCause)
{
    QByteArray asked;
    for (int n : AskedStatus)
        asked += statusQuestion(n);
    EXPECT_EQ(asked, QByteArray::fromHex("100401100402100404"));
    EXPECT_EQ(statusQuestion(ErrorCauseQuestion), QByteArray::fromHex("100403"));
}

TEST(PrinterStatus, AnswersDecodeToConditions)
{
    const struct
    {
        const char *answers; // to DLE EOT 1, 2, 4
        const char *error;   // to DLE EOT 3, if asked
        bool ready;
        QStringList conditions;
    } table[] = {
        {"121212", "", true, {}},
        {"1a1612", "", false, {"offline", "cover open"}},
        {"1a327e", "", false, {"offline", "paper end", "paper near end"}},
        {"12121e", "", true, {"paper near end"}},
        {"12127e", "", false, {"paper end", "paper near end"}},
        {"1a1212", "", false, {"offline"}},
        {"521e12", "", false, {"cover open", "feed button pressed"}},
        {"1a5212", "", false, {"offline", "error"}},
        {"1a5212", "3a", false, {"offline", "unrecoverable error", "auto-cutter error"}},
        {"1a5212",
         "56",
         false,
         {"offline", "automatically recoverable error",
          "mechanical error (on the printers that report it)"}},
        // A printer that answers only the first question still tells that much.
        {"1a", "", false, {"offline"}},
        {"12", "", true, {}},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.answers);
        std::optional<PrinterStatus> status = decodeStatus(QByteArray::fromHex(row.answers));
        ASSERT_TRUE(status);
        if (*row.error)
            addErrorCause(*status, QByteArray::fromHex(row.error).front());
        EXPECT_EQ(status->ready(), row.ready);
        EXPECT_EQ(TransferTexts::conditions(*status), row.conditions);
    }
}

TEST(PrinterStatus, BytesThatAreNoAnswerDecodeToNothing)
{
    // An echo of the question, a line that reads noise, or more answers than questions.
    for (const char *bytes : {"", "10", "121210", "ff1212", "00", "12121212"})
        EXPECT_FALSE(decodeStatus(QByteArray::fromHex(bytes))) << bytes;
}

TEST(PrinterStatus, AnswersAreTakenByTheirBitsWhereverTheyArrive)
{
    // Noise, an ASB block, XON and XOFF pass; 1A still says offline.
    StatusScanner scanner(3);
    scanner.feed(QByteArray::fromHex("00 1A 11 14000F00 13 12"));
    EXPECT_FALSE(scanner.done());
    scanner.feed(QByteArray::fromHex("12 1E"));
    EXPECT_TRUE(scanner.done());
    EXPECT_EQ(scanner.answers(), QByteArray::fromHex("1A1212"));
    EXPECT_EQ(scanner.received(), 11);
    // Status bytes after the last answer were asked by nobody: a flood is counted, not taken.
    EXPECT_EQ(scanner.unasked(), 1);
    scanner.feed(QByteArray::fromHex("12 14000F00 12"));
    EXPECT_EQ(scanner.unasked(), 3);
    EXPECT_EQ(scanner.answers(), QByteArray::fromHex("1A1212"));
    EXPECT_EQ(TransferTexts::conditions(*decodeStatus(scanner.answers())),
              QStringList({"offline"}));
}

} // namespace
