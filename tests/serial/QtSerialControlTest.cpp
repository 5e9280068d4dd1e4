#include "QtSerialControl.h"
#include "PortLink.h"
#include "PseudoTerminal.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <functional>
#include <memory>
#include <random>
#include <termios.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// Guards every wait so a fault shows as a failed test, never as a hung one.
constexpr auto guard = 20s;

template <typename Done> bool runEventsUntil(Done done)
{
    const QDeadlineTimer deadline(guard);
    while (!done()) {
        if (deadline.hasExpired())
            return false;
        QCoreApplication::processEvents();
    }
    return true;
}

QByteArray randomBytes(qsizetype count)
{
    std::mt19937 generator(20240611);
    std::uniform_int_distribution<int> byte(0, 255);
    QByteArray bytes(count, Qt::Uninitialized);
    for (char &b : bytes)
        b = static_cast<char>(byte(generator));
    return bytes;
}

class SerialOverPty : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pty.isOpen());
        control.setDevicePath(pty.slavePath());
        control.setSettings(QStringLiteral("9600,n,8,1"));
    }

    // Queues bytes the way the transfer layer does: quarter-buffer pieces, each once CTS is
    // up and fewer than half the buffer's bytes wait.
    void sendPaced(const QByteArray &bytes)
    {
        const int piece = control.OutBufferSize() / 4;
        for (qsizetype first = 0; first < bytes.size(); first += piece) {
            ASSERT_TRUE(runEventsUntil(
                [&] { return control.CTSHolding() && control.OutBufferCount() < 2 * piece; }));
            control.setOutput(bytes.mid(first, piece));
        }
    }

    PseudoTerminal pty;
    QtSerialControl control;
};

TEST_F(SerialOverPty, SendsEveryByteUnchangedAndInOrder)
{
    const QByteArray data = randomBytes(1024 * 1024);
    // Every byte value, XON/XOFF and line ends included, must pass untranslated.
    for (int value = 0; value < 256; ++value)
        ASSERT_TRUE(data.contains(static_cast<char>(value))) << value;

    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen()) << control.errorText().toStdString();
    control.setHandshaking(2);
    EXPECT_EQ(control.OutBufferSize(), 1024);

    QByteArray received;
    std::thread reader([&] { received = pty.read(data.size(), guard); });
    sendPaced(data.first(data.size() / 2));
    // A second open request leaves the open port and its queue alone.
    control.setPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    sendPaced(data.sliced(data.size() / 2));
    ASSERT_TRUE(runEventsUntil([&] { return control.OutBufferCount() == 0; }));
    reader.join();

    EXPECT_EQ(received.size(), data.size());
    EXPECT_TRUE(received == data);
    EXPECT_FALSE(control.writeFailed());
    // Asking a pty for CTS fails inside Qt; that must not surface as an error.
    EXPECT_TRUE(control.errorText().isEmpty()) << control.errorText().toStdString();
}

TEST_F(SerialOverPty, LineSettingsAndHandshakingReachTheDevice)
{
    // Opened before the control takes the port, so its exclusive hold does not lock us out.
    const int observer = ::open(pty.slavePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(observer, 0);
    const auto lineSettings = [observer] {
        termios settings{};
        ::tcgetattr(observer, &settings);
        return settings;
    };

    control.setSettings(QStringLiteral("115200,n,8,2"));
    control.setHandshaking(2);
    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen()) << control.errorText().toStdString();
    termios settings = lineSettings();
    EXPECT_EQ(::cfgetospeed(&settings), static_cast<speed_t>(B115200));
    EXPECT_TRUE(settings.c_cflag & CSTOPB);
    EXPECT_TRUE(settings.c_cflag & CRTSCTS);

    control.setHandshaking(0);
    EXPECT_FALSE(lineSettings().c_cflag & CRTSCTS);
    control.setHandshaking(2);
    EXPECT_TRUE(lineSettings().c_cflag & CRTSCTS);
    EXPECT_EQ(control.Handshaking(), 2);
    ::close(observer);
}

TEST_F(SerialOverPty, LineWithoutModemControlReportsCtsAsserted)
{
    EXPECT_FALSE(control.CTSHolding());
    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen());
    EXPECT_TRUE(control.CTSHolding());
    EXPECT_TRUE(control.CTSHolding());
    EXPECT_TRUE(control.errorText().isEmpty());
    EXPECT_EQ(control.OutBufferCount(), 0);
}

// Queues 200 kB, then ends the port at once through endPort while a reader drains the master.
void expectQueuedBytesArrive(const std::function<void(std::unique_ptr<QtSerialControl> &)> &endPort)
{
    PseudoTerminal pty;
    ASSERT_TRUE(pty.isOpen());
    const QByteArray data = randomBytes(200 * 1024);
    auto control = std::make_unique<QtSerialControl>();
    control->setDevicePath(pty.slavePath());
    control->setHandshaking(2);
    control->setPortOpen(true);
    ASSERT_TRUE(control->PortOpen());

    QByteArray received;
    std::thread reader([&] { received = pty.read(data.size(), guard); });
    control->setOutput(data);
    endPort(control);
    reader.join();
    EXPECT_TRUE(received == data) << received.size() << " of " << data.size() << " bytes";
}

TEST(SerialClose, ClosingSendsWhatIsStillQueued)
{
    expectQueuedBytesArrive([](std::unique_ptr<QtSerialControl> &control) {
        control->setPortOpen(false);
        EXPECT_FALSE(control->PortOpen());
        EXPECT_TRUE(control->errorText().isEmpty()) << control->errorText().toStdString();
    });
}

TEST(SerialClose, DestroyingTheControlSendsWhatIsStillQueued)
{
    expectQueuedBytesArrive([](std::unique_ptr<QtSerialControl> &control) { control.reset(); });
}

TEST_F(SerialOverPty, BytesThatCannotLeaveAreReportedOnClose)
{
    // At this rate the close waits 2.5 s for a reader that never comes.
    const QByteArray data = randomBytes(200 * 1024);
    control.setSettings(QStringLiteral("4000000,n,8,1"));
    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen()) << control.errorText().toStdString();
    control.setOutput(data);
    QElapsedTimer closing;
    closing.start();
    control.setPortOpen(false);
    EXPECT_FALSE(control.PortOpen());
    // The line time of what waits plus a grace of 2 s, far below what a longer grace takes.
    EXPECT_LT(closing.elapsed(), 10000);

    const QRegularExpressionMatch report =
        QRegularExpression(QStringLiteral("^(\\d+) bytes not sent to (.+) before it closed$"))
            .match(control.errorText());
    ASSERT_TRUE(report.hasMatch()) << control.errorText().toStdString();
    EXPECT_EQ(report.captured(2), pty.slavePath());
    // What the pty took arrives intact; the rest is exactly what was reported.
    const QByteArray received = pty.read(data.size(), 1s);
    EXPECT_TRUE(data.startsWith(received));
    EXPECT_EQ(received.size() + report.captured(1).toLongLong(), data.size());
}

TEST_F(SerialOverPty, BytesThatCannotLeaveReachTheLinkTrace)
{
    QStringList traces;
    PortLink link(control, [&traces](const QString &text) { traces << text; });
    ASSERT_TRUE(link.OpenPort(pty.slavePath(), QStringLiteral("4000000")));
    control.setOutput(randomBytes(200 * 1024));
    EXPECT_TRUE(link.ClosePort(pty.slavePath()));

    ASSERT_EQ(traces.size(), 2);
    const QRegularExpression closedWithReport(
        QStringLiteral("^連接埠已關閉: \\d+ bytes not sent to %1 before it closed$")
            .arg(QRegularExpression::escape(pty.slavePath())));
    EXPECT_TRUE(closedWithReport.match(traces[1]).hasMatch()) << traces[1].toStdString();
}

TEST_F(SerialOverPty, MalformedSettingsRefuseToOpen)
{
    control.setSettings(QStringLiteral("9600,n,9,1"));
    control.setPortOpen(true);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_TRUE(control.errorText().contains(QStringLiteral("\"9600,n,9,1\" are not valid")))
        << control.errorText().toStdString();

    control.setSettings(QStringLiteral("9600,n,8,1"));
    control.setPortOpen(true);
    EXPECT_TRUE(control.PortOpen());
    EXPECT_TRUE(control.errorText().isEmpty());
}

TEST(SerialOpen, MissingDeviceDoesNotExist)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("nonexistent"));
    QtSerialControl control;
    control.setDevicePath(path);
    control.setPortOpen(true);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_EQ(control.errorText(), path + QStringLiteral(" does not exist"));
}

TEST_F(SerialOverPty, PortHeldElsewhereIsInUse)
{
    const QString inUse = pty.slavePath() + QStringLiteral(" is in use by another program");

    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(),
                 {QStringLiteral("--hold-port"), pty.slavePath()});
    ASSERT_TRUE(holder.waitForReadyRead(int(std::chrono::milliseconds(guard).count())));
    ASSERT_EQ(holder.readLine().trimmed(), "open");
    control.setPortOpen(true);
    EXPECT_FALSE(control.PortOpen());
    EXPECT_EQ(control.errorText(), inUse);
    holder.closeWriteChannel();
    ASSERT_TRUE(holder.waitForFinished(int(std::chrono::milliseconds(guard).count())));

    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen());
    QtSerialControl second;
    second.setDevicePath(pty.slavePath());
    second.setPortOpen(true);
    EXPECT_FALSE(second.PortOpen());
    EXPECT_EQ(second.errorText(), inUse);
}

TEST_F(SerialOverPty, PulledDeviceFailsTheWriteAndClosesThePort)
{
    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen());
    // Nobody reads the master, so most of this is still queued when the device goes.
    control.setOutput(randomBytes(256 * 1024));
    QCoreApplication::processEvents();
    ASSERT_GT(control.OutBufferCount(), 0);
    pty.closeMaster();

    ASSERT_TRUE(runEventsUntil([&] { return control.writeFailed(); }));
    EXPECT_TRUE(control.errorText().contains(QStringLiteral("stopped answering")));
    ASSERT_TRUE(runEventsUntil([&] { return !control.PortOpen(); }));
    EXPECT_TRUE(control.errorText().contains(QStringLiteral("bytes not sent")))
        << control.errorText().toStdString();
    control.setOutput("more");
    EXPECT_TRUE(control.writeFailed());
    EXPECT_FALSE(control.CTSHolding());
    EXPECT_EQ(control.OutBufferCount(), 0);
}

TEST_F(SerialOverPty, DeviceGoneWhileIdleClosesThePort)
{
    control.setPortOpen(true);
    ASSERT_TRUE(control.PortOpen());
    pty.closeMaster();
    ASSERT_TRUE(runEventsUntil([&] { return !control.PortOpen(); }));
    EXPECT_TRUE(control.writeFailed());
    EXPECT_FALSE(control.errorText().contains(QStringLiteral("bytes not sent")));
}

} // namespace
