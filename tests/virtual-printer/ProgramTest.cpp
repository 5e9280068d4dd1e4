#include "EscPosStreams.h"
#include "Polling.h"
#include "VirtualPrinterProcess.h"

#include <QDeadlineTimer>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <termios.h>
#include <unistd.h>

namespace {

const QImage Picture = randomPicture(32, 24, 5);

bool writeAll(int fd, const QByteArray &bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::write(fd, bytes.constData() + done, bytes.size() - done);
        if (written <= 0)
            return false;
        done += written;
    }
    return true;
}

// The pseudo-terminal's slave opened as a serial program would open it.
int openPty(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY);
    if (fd < 0)
        return fd;
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);
    return fd;
}

// One client session on the pseudo-terminal.
bool sendToPty(const QString &path, const QByteArray &bytes)
{
    const int fd = openPty(path);
    const bool written = fd >= 0 && writeAll(fd, bytes);
    if (fd >= 0)
        ::close(fd);
    return written;
}

TEST(Program, ServesSuccessiveClientsOnThePseudoTerminal)
{
    QTemporaryDir dir;
    const QString link = dir.filePath("printer");
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(dir.path(), {"--link", link}) &&
                printer.address().startsWith("/dev/pts/"))
        << printer.address().toStdString();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), printer.address());

    const QByteArray upload = defineCommand({encodeRecord(Picture)}) + FinishCommand;
    ASSERT_TRUE(sendToPty(link, upload + printCommand(1)));
    ASSERT_TRUE(printer.waitForLog("FS p: printed"));
    EXPECT_EQ(printer.log(), "FS q: stored 1 NV image (32x24 dots)\n"
                             "GS BEL 02 01 01: finish\n"
                             "FS p: printed NV image 1 as print-0001-nv01.png (32x24, mode 0)\n");
    EXPECT_EQ(pictureDifference(dir.filePath("print-0001-nv01.png"), Picture), "");

    // A writer that closes the line halfway abandons its record; the stored image stays.
    const QByteArray truncated = defineCommand({encodeRecord(Picture)}).first(50);
    ASSERT_TRUE(sendToPty(link, truncated));
    ASSERT_TRUE(printer.waitForLog("stream ended"));
    const QByteArray erase("\x1C\x71\x00", 3);
    ASSERT_TRUE(sendToPty(link, printCommand(1) + erase + printCommand(1)));
    ASSERT_TRUE(printer.waitForLog("no NV image 1"));
    EXPECT_EQ(printer.log().section('\n', 3),
              "FS q: error: stream ended in record 1 of 1, stored nothing\n"
              "FS p: printed NV image 1 as print-0002-nv01.png (32x24, mode 0)\n"
              "FS q: erased NV images\n"
              "FS p: no NV image 1\n");

    QFile stream(dir.filePath("stream.bin"));
    ASSERT_TRUE(stream.open(QIODevice::ReadOnly));
    EXPECT_EQ(stream.readAll(),
              upload + printCommand(1) + truncated + printCommand(1) + erase + printCommand(1));

    EXPECT_EQ(printer.stop(), 0);
    EXPECT_FALSE(QFileInfo(link).isSymLink());
}

TEST(Program, APauseInsideARecordIsWaitedOut)
{
    QTemporaryDir dir;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(dir.path()));
    const QByteArray define = defineCommand({encodeRecord(Picture)});
    const int fd = openPty(printer.address());
    ASSERT_GE(fd, 0);
    ASSERT_TRUE(writeAll(fd, define.first(50)));
    // Longer than any host's pause between two pieces; the printer must not give up on it.
    ASSERT_TRUE(printer.streamOfSize(50).size() == 50);
    ::sleep(3);
    ASSERT_TRUE(writeAll(fd, define.sliced(50) + printCommand(1)));
    ASSERT_TRUE(printer.waitForLog("FS p:"));
    ::close(fd);
    EXPECT_EQ(printer.log(), "FS q: stored 1 NV image (32x24 dots)\n"
                             "FS p: printed NV image 1 as print-0001-nv01.png (32x24, mode 0)\n");
    EXPECT_EQ(printer.stop(), 0);
}

// A connected TCP client on 127.0.0.1; -1 when the connect fails.
int connectTo(quint16 port)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::connect(fd, reinterpret_cast<sockaddr *>(&address), sizeof address) != 0) {
        ::close(fd);
        return -1;
    }
    return fd;
}

TEST(Program, TcpServesOneConnectionAtATimeAndAnswersStatus)
{
    QTemporaryDir dir;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(dir.path(), {"--tcp", "0", "--state", "paper-end"}));
    const quint16 port = printer.address().section(':', 1).toUShort();

    const int first = connectTo(port);
    ASSERT_GE(first, 0);
    ASSERT_TRUE(writeAll(first, QByteArray::fromHex("100401100402100404")));
    char answers[3];
    ASSERT_EQ(::recv(first, answers, 3, MSG_WAITALL), 3);
    EXPECT_EQ(QByteArray(answers, 3).toHex(), "1a327e");

    // The kernel completes the second connect; the printer then closes it unread.
    const int second = connectTo(port);
    ASSERT_GE(second, 0);
    char byte;
    EXPECT_LE(::recv(second, &byte, 1, 0), 0);
    ::close(second);
    ::close(first);

    const int third = connectTo(port);
    ASSERT_GE(third, 0);
    ASSERT_TRUE(writeAll(third, QByteArray::fromHex("100402")));
    ASSERT_EQ(::recv(third, answers, 1, MSG_WAITALL), 1);
    EXPECT_EQ(answers[0], 0x32);
    ::close(third);
    EXPECT_EQ(printer.stop(), 0);
}

// Reading a paced stream or storing a graphic, the printer still closes a second client at
// once instead of leaving it in the backlog, where it would wait unanswered.
TEST(Program, TcpClosesASecondConnectionAtOnceWhileBusy)
{
    const std::pair<QStringList, QByteArray> cases[] = {
        {{"--baud", "1200"}, QByteArray(8 * 1024, '\0')}, // a minute's reading
        {{"--store-time", "600"}, graphicsFunction(rasterGraphicBody("01", Picture))},
    };
    for (const auto &[options, stream] : cases) {
        QTemporaryDir dir;
        VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
        ASSERT_TRUE(printer.start(dir.path(), QStringList{"--tcp", "0"} + options));
        const quint16 port = printer.address().section(':', 1).toUShort();
        const int first = connectTo(port);
        ASSERT_EQ(::send(first, stream.constData(), stream.size(), MSG_DONTWAIT), stream.size());
        // Busy from here on: reading the stream, or storing what it read.
        ASSERT_GE(printer.streamOfSize(64).size(), 64);
        const int second = connectTo(port);
        pollfd entry{second, POLLIN, 0};
        EXPECT_EQ(::poll(&entry, 1, 10000), 1) << options.join(' ').toStdString();
        char byte;
        EXPECT_LE(::recv(second, &byte, 1, MSG_DONTWAIT), 0);
        ::close(second);
        ::close(first);
        EXPECT_EQ(printer.stop(), 0);
    }
}

TEST(Program, TcpDisconnectEndsTheStream)
{
    QTemporaryDir dir;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(dir.path(), {"--tcp", "0"}) &&
                printer.address().startsWith("127.0.0.1:"))
        << printer.address().toStdString();
    const quint16 port = printer.address().section(':', 1).toUShort();

    const auto send = [port](const QByteArray &bytes) {
        const int fd = connectTo(port);
        const bool sent = fd >= 0 && writeAll(fd, bytes);
        ::close(fd);
        return sent;
    };
    const QByteArray define = defineCommand({encodeRecord(Picture)});
    ASSERT_TRUE(send(define.first(define.size() - 1)));
    ASSERT_TRUE(send(define + printCommand(1)));
    ASSERT_TRUE(printer.waitForLog("FS p:"));
    EXPECT_EQ(printer.log(), "FS q: error: stream ended in record 1 of 1, stored nothing\n"
                             "FS q: stored 1 NV image (32x24 dots)\n"
                             "FS p: printed NV image 1 as print-0001-nv01.png (32x24, mode 0)\n");
    EXPECT_EQ(printer.stop(), 0);
}

// What the printer answers on fd until size bytes came or 10 s passed.
QByteArray readAnswers(int fd, qsizetype size)
{
    QByteArray answers;
    const QDeadlineTimer deadline(10000);
    while (answers.size() < size && !deadline.hasExpired()) {
        pollfd entry{fd, POLLIN, 0};
        if (::poll(&entry, 1, int(deadline.remainingTime())) <= 0)
            break;
        char buffer[256];
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got <= 0)
            break;
        answers.append(buffer, got);
    }
    return answers;
}

TEST(Program, AnswersGraphicsQuestionsOnceItHasStored)
{
    QTemporaryDir dir;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(dir.path(), {"--graphics-capacity", "4096", "--store-time", "1"}));
    const int fd = ::open(QFile::encodeName(printer.address()).constData(), O_RDWR | O_NOCTTY);
    ASSERT_GE(fd, 0);
    termios settings{};
    tcgetattr(fd, &settings);
    cfmakeraw(&settings);
    tcsetattr(fd, TCSANOW, &settings);

    // 32 x 24 dots: 96 bytes and 24 of control information. The question after the define waits
    // until the define is stored.
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(writeAll(fd, graphicsFunction(rasterGraphicBody("01", Picture)) +
                                 QByteArray::fromHex("1D284C020030 33 1D284C040030404B43")));
    const QByteArray expected = QByteArray::fromHex("3731 33393736 00 3772 40 3031 00");
    EXPECT_EQ(readAnswers(fd, expected.size()), expected);
    EXPECT_GE(timer.elapsed(), 1000);
    ::close(fd);
    EXPECT_EQ(printer.stop(), 0);
}

TEST(Program, BaudRateHoldsTheReaderBack)
{
    QTemporaryDir dir;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    ASSERT_TRUE(printer.start(dir.path(), {"--baud", "9600", "--exit-after-idle", "0.5"}));
    // 1995 bytes take about 2 s at 960 bytes a second.
    const QByteArray stream =
        defineCommand({encodeRecord(randomPicture(64, 248, 9))}) + printCommand(1);
    ASSERT_EQ(stream.size(), 1995);

    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(sendToPty(printer.address(), stream));
    ASSERT_TRUE(waitFor([&] { return QFile::exists(dir.filePath("print-0001-nv01.png")); }));
    EXPECT_GE(timer.elapsed(), 1500);
    EXPECT_EQ(printer.waitForExit(10000), 0);
}

} // namespace
