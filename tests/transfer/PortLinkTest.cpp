#include "PortLink.h"
#include "LinkTexts.h"
#include "QtPrinters.h"
#include "ScriptedSerialControl.h"

#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class PortLinkTest : public ::testing::Test
{
protected:
    ScriptedSerialControl control;
    QStringList traces;
    PortLink link{control, [this](const QString &text) { traces << text; }};
};

TEST_F(PortLinkTest, OpensComPortWithSettingsThenHandshaking)
{
    EXPECT_TRUE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    EXPECT_EQ(control.writes(),
              QStringList({"CommPort=1", "Settings=9600,n,8,1", "PortOpen=true", "Handshaking=2"}));
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠已開啟")});
    EXPECT_EQ(link.openKind(), LinkKind::Serial);
}

TEST_F(PortLinkTest, ReadsPortNumberAndRateFromTheBoxes)
{
    struct Case
    {
        QString port;
        QString rate;
        QStringList writes;
    };
    const QList<Case> cases = {
        {"com3:", "9600", {"CommPort=3", "Settings=9600,n,8,1"}},
        {"COM12:", "115200", {"CommPort=12", "Settings=115200,n,8,1"}},
        {"COM2:  ", " 19200 ", {"CommPort=2", "Settings=19200,n,8,1"}},
        // Halves go to the even neighbour.
        {"COM1:", "9600.5", {"CommPort=1", "Settings=9600,n,8,1"}},
        {"COM1:", "9601.5", {"CommPort=1", "Settings=9602,n,8,1"}},
    };
    for (const Case &c : cases) {
        ScriptedSerialControl fresh;
        PortLink freshLink(fresh, [](const QString &) {});
        EXPECT_TRUE(freshLink.OpenPort(c.port, c.rate)) << c.port.toStdString();
        EXPECT_EQ(fresh.writes().mid(0, 2), c.writes) << c.port.toStdString();
    }
}

TEST_F(PortLinkTest, RefusesBadPortOrRateWithoutTouchingTheControl)
{
    struct Case
    {
        QString port;
        QString rate;
        QString trace;
        QString reason;
    };
    const QString badPort = QStringLiteral("連接埠設置異常.");
    const QString badRate = QStringLiteral("傳輸速率設置異常.");
    const QList<Case> cases = {
        {"COM5", "9600", badPort, LinkTexts::nameWithoutColon("COM5")},
        {"LPT2 ", "9600", badPort, LinkTexts::nameWithoutColon("LPT2")},
        {"COM70000:", "9600", badPort, LinkTexts::badPortNumber("COM70000:")},
        {"COM0:", "9600", badPort, LinkTexts::badPortNumber("COM0:")},
        {"COM1:", "fast", badRate, LinkTexts::badRate("fast")},
        {"COM1:", "", badRate, LinkTexts::badRate("")},
        {"COM1:", " 99999999999", badRate, LinkTexts::badRate("99999999999")},
    };
    for (const Case &c : cases) {
        traces.clear();
        EXPECT_FALSE(link.OpenPort(c.port, c.rate)) << c.port.toStdString();
        EXPECT_EQ(traces, QStringList{c.trace}) << c.port.toStdString();
        EXPECT_EQ(link.errorText(), c.reason) << c.port.toStdString();
    }
    EXPECT_TRUE(control.writes().isEmpty());
    EXPECT_EQ(link.openKind(), LinkKind::None);
    EXPECT_TRUE(LinkTexts::nameWithoutColon("COM12").endsWith("as COM12:"));
}

TEST_F(PortLinkTest, IgnoresTextsThatNameNoPort)
{
    for (const QString port : {"COM1: (Used)", "COM", "", " COM1:", "FILE:"}) {
        EXPECT_FALSE(link.OpenPort(port, QStringLiteral("9600"))) << port.toStdString();
        EXPECT_FALSE(link.ClosePort(port)) << port.toStdString();
    }
    EXPECT_TRUE(traces.isEmpty());
    EXPECT_TRUE(control.writes().isEmpty());
}

TEST_F(PortLinkTest, FailedOpenTracesTheReasonAndTheNextOpenForgetsIt)
{
    control.failOpen(QStringLiteral("Permission denied"));
    EXPECT_FALSE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠開啟失敗: Permission denied")});
    EXPECT_EQ(link.errorText(), QStringLiteral("Permission denied"));
    EXPECT_EQ(link.openKind(), LinkKind::None);

    EXPECT_FALSE(link.OpenPort(QStringLiteral("COM1: (Used)"), QStringLiteral("9600")));
    EXPECT_EQ(link.errorText(), QString());
    ASSERT_TRUE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    EXPECT_EQ(link.errorText(), QString());

    control.loseBytesOnClose(QStringLiteral("3 bytes not sent"));
    ASSERT_TRUE(link.ClosePort(QStringLiteral("COM1:")));
    EXPECT_TRUE(link.closedLinkFailed());
    EXPECT_EQ(link.errorText(), QStringLiteral("3 bytes not sent"));
    EXPECT_FALSE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("x")));
    EXPECT_FALSE(link.closedLinkFailed());
    EXPECT_EQ(link.errorText(), LinkTexts::badRate("x"));
}

TEST_F(PortLinkTest, SecondOpenChangesNothing)
{
    ASSERT_TRUE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    const QStringList writes = control.writes();
    traces.clear();

    EXPECT_FALSE(link.OpenPort(QStringLiteral("COM2:"), QStringLiteral("115200")));
    EXPECT_FALSE(link.OpenPort(QStringLiteral("LPT1:"), QString()));
    EXPECT_TRUE(traces.isEmpty());
    EXPECT_EQ(control.writes(), writes);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_EQ(control.CommPort(), 1);
}

TEST_F(PortLinkTest, ClosesTheLinkItOpenedWhateverTheBoxSays)
{
    ASSERT_TRUE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    traces.clear();

    EXPECT_TRUE(link.ClosePort(QStringLiteral("LPT1:")));
    EXPECT_EQ(control.writes().last(), QStringLiteral("PortOpen=false"));
    EXPECT_FALSE(control.PortOpen());
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠已關閉")});
    EXPECT_EQ(link.openKind(), LinkKind::None);
}

TEST_F(PortLinkTest, CloseAnswersForClosedAndStuckPorts)
{
    EXPECT_TRUE(link.ClosePort(QStringLiteral("COM1:")));
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠未開啟")});
    EXPECT_TRUE(link.ClosePort(QStringLiteral("LPT1:")));

    ASSERT_TRUE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    control.failClose(QStringLiteral("Device busy"));
    traces.clear();
    EXPECT_FALSE(link.ClosePort(QStringLiteral("COM1:")));
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠關閉失敗: Device busy")});
    // Still open, so a new transfer is still refused.
    EXPECT_FALSE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
}

TEST_F(PortLinkTest, SerialDevicePathIsSetInsteadOfAPortNumber)
{
    EXPECT_TRUE(link.OpenPort(QStringLiteral("/dev/pts/7"), QStringLiteral("38400")));
    EXPECT_EQ(control.writes(), QStringList({"devicePath=/dev/pts/7", "Settings=38400,n,8,1",
                                             "PortOpen=true", "Handshaking=2"}));
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠已開啟")});
}

// The port number text drops the last character whatever it is: without the check of the
// colon, COM12 opened COM1, COM55 COM5 and LPT12 LPT1.
TEST(PortNames, ANameWithoutItsColonIsRefusedNeverOpenedAsAnotherPort)
{
    QTemporaryDir dir;
    const QString device = dir.filePath(QStringLiteral("lp"));
    ASSERT_TRUE(QFile(device).open(QIODevice::WriteOnly));
    for (const QString name : {"COM12", "COM55", "LPT12"}) {
        ScriptedSerialControl control;
        QStringList traces;
        QStringList resolved;
        PortLink link(
            control, [&](const QString &text) { traces << text; },
            [&](const QString &portText) {
                resolved << portText;
                return device;
            });
        EXPECT_FALSE(link.OpenPort(name, QStringLiteral("9600"))) << name.toStdString();
        EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠設置異常.")}) << name.toStdString();
        EXPECT_TRUE(control.writes().isEmpty()) << name.toStdString();
        EXPECT_TRUE(resolved.isEmpty()) << name.toStdString();
        EXPECT_EQ(link.openKind(), LinkKind::None);

        const QString named = name + QLatin1Char(':');
        ASSERT_TRUE(link.OpenPort(named, QStringLiteral("9600"))) << name.toStdString();
        if (link.openKind() == LinkKind::Serial)
            EXPECT_EQ(control.writes().first(), QStringLiteral("CommPort=") + name.mid(3));
        else
            EXPECT_EQ(resolved, QStringList{named});
        EXPECT_TRUE(link.ClosePort(named));
    }
}

} // namespace
