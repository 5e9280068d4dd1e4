#include "DeviceAnswers.h"
#include "Polling.h"
#include "PortLink.h"
#include "PrinterLink.h"
#include "QtPrinters.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "Transmitter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

class ParallelLinkTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QTemporaryDir dir;
    QString device = dir.filePath(QStringLiteral("lp0"));
    QStringList resolved;
    ScriptedSerialControl control;
    QStringList traces;
    PortLink link{control, [this](const QString &text) { traces << text; },
                  [this](const QString &portText) {
                      resolved << portText;
                      return device;
                  }};
    RecordingTransferHost host;
    Transmitter transmitter{link, host};
};

TEST_F(ParallelLinkTest, LptTextOpensTheDeviceWithoutReadingTheRate)
{
    QFile(device).open(QIODevice::WriteOnly);
    EXPECT_TRUE(link.OpenPort(QStringLiteral("LPT1:"), QStringLiteral("not a rate")));
    EXPECT_EQ(resolved, QStringList{QStringLiteral("LPT1:")});
    EXPECT_EQ(link.openKind(), LinkKind::Parallel);
    EXPECT_TRUE(traces.isEmpty());
    EXPECT_TRUE(control.writes().isEmpty());
}

TEST_F(ParallelLinkTest, BytesGoOutAsTheyAreWithoutProgressOrPacing)
{
    QFile(device).open(QIODevice::WriteOnly);
    control.setCts(false);
    ASSERT_TRUE(link.OpenPort(QStringLiteral("LPT1:"), QString()));

    QByteArray bytes(1000, '\0');
    for (int i = 0; i < bytes.size(); ++i)
        bytes[i] = char(i * 7);
    EXPECT_TRUE(transmitter.SendBytes(bytes).ok());
    EXPECT_TRUE(transmitter.FinishTransfer().ok());
    EXPECT_TRUE(link.ClosePort(QStringLiteral("COM1:")));

    EXPECT_EQ(readFile(device), bytes + QByteArray("\x1D\x07\x02\x01\x01", 5));
    EXPECT_TRUE(host.progress().isEmpty());
    EXPECT_EQ(host.yields(), 0);
    EXPECT_TRUE(traces.isEmpty());
    EXPECT_EQ(link.openKind(), LinkKind::None);
}

TEST_F(ParallelLinkTest, WritesIntoAFifo)
{
    ASSERT_EQ(mkfifo(QFile::encodeName(device).constData(), 0600), 0);
    const int reader = ::open(QFile::encodeName(device).constData(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    ASSERT_TRUE(link.OpenPort(QStringLiteral("LPT1:"), QString()));

    const QByteArray bytes("\x1C\x71\x00", 3);
    link.link()->write(bytes);
    EXPECT_FALSE(link.link()->failed());
    char buffer[16];
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), bytes.size());
    EXPECT_EQ(QByteArray(buffer, bytes.size()), bytes);
    EXPECT_TRUE(link.ClosePort(QStringLiteral("LPT1:")));
    ::close(reader);

    // What a printer device sends back is handed on an answer window at a time.
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0, pair), 0);
    const QByteArray flood(PrinterLink::AnswerWindow + 300, 'x');
    ASSERT_EQ(::write(pair[1], flood.constData(), flood.size()), flood.size());
    EXPECT_EQ(readDeviceAnswers(pair[0], PrinterLink::AnswerWindow).size(),
              PrinterLink::AnswerWindow);
    EXPECT_EQ(readDeviceAnswers(pair[0], PrinterLink::AnswerWindow).size(), 300);
    ::close(pair[0]);
    ::close(pair[1]);
}

TEST_F(ParallelLinkTest, SecondOpenIsRefusedAndTheFirstLinkKeepsWorking)
{
    QFile(device).open(QIODevice::WriteOnly);
    ASSERT_TRUE(link.OpenPort(QStringLiteral("LPT1:"), QString()));

    EXPECT_FALSE(link.OpenPort(QStringLiteral("LPT1:"), QString()));
    EXPECT_FALSE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    EXPECT_TRUE(control.writes().isEmpty());
    EXPECT_TRUE(traces.isEmpty());
    EXPECT_EQ(resolved.size(), 1);

    link.link()->write("abc");
    EXPECT_EQ(readFile(device), QByteArray("abc"));
}

TEST_F(ParallelLinkTest, DeviceThatCannotBeOpenedTracesTheReason)
{
    device = dir.filePath(QStringLiteral("missing/lp0"));
    EXPECT_FALSE(link.OpenPort(QStringLiteral("LPT1:"), QString()));
    ASSERT_EQ(traces.size(), 1);
    EXPECT_EQ(traces[0], QStringLiteral("連接埠開啟失敗: ") + device + QStringLiteral(": ") +
                             qt_error_string(ENOENT));
    EXPECT_EQ(link.openKind(), LinkKind::None);
    EXPECT_EQ(link.link(), nullptr);
}

TEST_F(ParallelLinkTest, PrinterDevicePathIsOpenedAsItIs)
{
    PortLink plain(control, [this](const QString &text) { traces << text; });
    const QString missing = QStringLiteral("/dev/usb/lp99");
    ASSERT_FALSE(QFile::exists(missing));
    EXPECT_FALSE(plain.OpenPort(missing, QString()));
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠開啟失敗: ") + missing +
                                  QStringLiteral(": ") + qt_error_string(ENOENT)});
}

TEST_F(ParallelLinkTest, DeniedDeviceNamesTheLpGroup)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "root opens every file";
    QFile(device).open(QIODevice::WriteOnly);
    ASSERT_EQ(chmod(QFile::encodeName(device).constData(), 0), 0);
    EXPECT_FALSE(link.OpenPort(QStringLiteral("LPT1:"), QString()));
    ASSERT_EQ(traces.size(), 1);
    EXPECT_TRUE(traces[0].contains(QStringLiteral("lp group"))) << traces[0].toStdString();
}

} // namespace
