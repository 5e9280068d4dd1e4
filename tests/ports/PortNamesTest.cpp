#include "PortNames.h"
#include "NumberText.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

struct Classified
{
    const char *text;
    bool com;
    bool lpt;
};

TEST(Classifiers, NameTable)
{
    const Classified table[] = {
        {"COM1:", true, false},   {"com3:", true, false},         {"COM10:", true, false},
        {"COM5", true, false},    {"LPT1:", false, true},         {"COM1: (Used)", false, false},
        {"COM", false, false},    {" COM1:", false, false},       {"FILE:", false, false},
        {"COM12:", true, false},  {"lpt2", false, true},          {"CoMcom1:", true, false},
        {"COM 1 :", true, false}, {"COM\t1:", false, false},      {"COM-1:", true, false},
        {"COMA:", false, false},  {"LPT1: (Used)", false, false}, {"", false, false},
        {"CO", false, false},     {"COM1:LPT", false, false},     {"LPTCOM1:", false, false},
    };
    for (const Classified &row : table) {
        const QString text = QString::fromUtf8(row.text);
        EXPECT_EQ(IsComPort(text), row.com) << row.text;
        EXPECT_EQ(IsLptPort(text), row.lpt) << row.text;
        const LinkKind kind = row.com   ? LinkKind::Serial
                              : row.lpt ? LinkKind::Parallel
                                        : LinkKind::None;
        EXPECT_EQ(linkKindOf(text), kind) << row.text;
    }
}

TEST(Classifiers, IsNumberTakesSignDigitsAndOnePoint)
{
    for (const char *text : {"0", "7", "+1", "-1", "1.5", "1.", ".5", "-.5", "007", "65536"})
        EXPECT_TRUE(IsNumber(QString::fromUtf8(text))) << text;
    for (const char *text : {"", "+", "-", ".", "+.", "1.2.3", "1e3", "0x10", " 1", "1 ", "1,000",
                             "+-1", "1-", "\xd9\xa1", "\xef\xbc\x91", "1:"})
        EXPECT_FALSE(IsNumber(QString::fromUtf8(text))) << text;
}

TEST(Classifiers, TrimSpacesLeavesOtherWhiteSpace)
{
    EXPECT_EQ(trimSpaces(QStringLiteral("  COM1:  ")), QStringLiteral("COM1:"));
    EXPECT_EQ(trimSpaces(QStringLiteral("\tCOM1:\n")), QStringLiteral("\tCOM1:\n"));
    EXPECT_EQ(trimSpaces(QStringLiteral("   ")), QString());
}

TEST(PortNumber, ReadsTheTextBetweenPrefixAndLastCharacter)
{
    EXPECT_EQ(portNumberOf(QStringLiteral("COM1:")), 1);
    EXPECT_EQ(portNumberOf(QStringLiteral("com3:")), 3);
    EXPECT_EQ(portNumberOf(QStringLiteral("COM12:")), 12);
    EXPECT_EQ(portNumberOf(QStringLiteral("LPT1:")), 1);
    EXPECT_EQ(portNumberOf(QStringLiteral("  COM7:  ")), 7);
    EXPECT_EQ(portNumberOf(QStringLiteral("COM2.5:")), 2);
    EXPECT_EQ(portNumberOf(QStringLiteral("COM3.5:")), 4);
    EXPECT_EQ(portNumberOf(QStringLiteral("COM32767:")), 32767);
}

TEST(PortNumber, RefusesWhatIsNoNumberOrTooLarge)
{
    for (const char *text :
         {"COM5", "LPT2", "COM12", "COM55", "LPT12", "COM", "COM:", "", "COM1: (Used)",
          "COM32768:", "COM0:", "COM-1:", "COM-32768:", "COM99999999999999999999:", "COMx:"})
        EXPECT_FALSE(portNumberOf(QString::fromUtf8(text)).has_value()) << text;
}

} // namespace
