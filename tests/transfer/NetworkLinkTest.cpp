#include "NetworkLink.h"
#include "GraphicsAnswers.h"
#include "GraphicsCommands.h"
#include "LinkTexts.h"
#include "Polling.h"
#include "PortLink.h"
#include "PrinterLink.h"
#include "QtPrinters.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "StatusQuestions.h"
#include "TransferOperations.h"
#include "TransferTexts.h"
#include "Transmitter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

QByteArray counting(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i * 7 + i / 251);
    return bytes;
}

// A printer in this process: a local TCP server whose one connection the test reads, or not.
class NetworkLinkTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        port = QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort());
        ASSERT_TRUE(link.OpenPort(port, QStringLiteral("not a rate")));
        ASSERT_TRUE(waitFor([&] { return server.hasPendingConnections(); }));
        printer = server.nextPendingConnection();
        // The transmitter's waits are where the event loop moves the bytes.
        host.setOnYield([](int) { QCoreApplication::processEvents(); });
    }

    QTcpServer server;
    QString port;
    QTcpSocket *printer = nullptr;
    ScriptedSerialControl control;
    QStringList traces;
    PortLink link{control, [this](const QString &text) { traces << text; }};
    RecordingTransferHost host;
};

TEST_F(NetworkLinkTest, PacesByWhatThePrinterHasNotAcknowledged)
{
    const int piece = NetworkLink::BufferSize / 4;
    EXPECT_EQ(link.openKind(), LinkKind::Network);
    EXPECT_EQ(traces, QStringList{QStringLiteral("連接埠已開啟")});

    // A printer that takes a little and then nothing: the backlog stops at its limit and
    // stays there until the stall limit ends the send.
    printer->setReadBufferSize(1024);
    Transmitter impatient(link, host, {300ms, 300ms});
    const StepResult stalled = impatient.SendBytes(counting(8 * piece));
    EXPECT_EQ(stalled.status, StepStatus::Failed);
    EXPECT_EQ(stalled.error, TransferTexts::printerNotDraining(300ms));
    EXPECT_GE(link.link()->backlog(), 2 * piece);
    EXPECT_LT(link.link()->backlog(), 3 * piece);
    EXPECT_EQ(host.progress().mid(0, 2),
              QStringList({"Min=0", "Max=" + QString::number(8 * piece - 1)}));

    // Once it reads, the next array goes through; whole pieces of the first went before it,
    // every byte once and in order.
    printer->setReadBufferSize(0);
    QByteArray received;
    QObject::connect(printer, &QIODevice::readyRead, [&] { received += printer->readAll(); });
    Transmitter transmitter(link, host);
    EXPECT_TRUE(transmitter.SendBytes(counting(3 * piece + 5)).ok());
    EXPECT_TRUE(transmitter.drain().ok());
    EXPECT_EQ(link.link()->backlog(), 0);
    const QByteArray tail = counting(3 * piece + 5);
    ASSERT_TRUE(waitFor([&] { return received.endsWith(tail); })) << received.size();
    const qsizetype head = received.size() - tail.size();
    EXPECT_EQ(head % piece, 0);
    EXPECT_EQ(received.first(head), counting(8 * piece).first(head));

    EXPECT_TRUE(link.ClosePort(port));
    EXPECT_FALSE(link.closedLinkFailed());
    EXPECT_EQ(traces.last(), QStringLiteral("連接埠已關閉"));
}

TEST_F(NetworkLinkTest, ProgressNeverRunsAheadOfWhatASlowPrinterRead)
{
    // The printer takes 8 KiB at each of the sender's waits. Acknowledged yet unread bytes lie
    // at most in its kernel buffer and in Qt's.
    constexpr int Bite = 8 * 1024;
    printer->setReadBufferSize(Bite);
    qint64 read = 0;
    qint64 slack = 0;
    qint64 ahead = 0;
    host.setOnYield([&](int) {
        const QString last = host.progress().isEmpty() ? QString() : host.progress().last();
        if (last.startsWith(QStringLiteral("Value=")))
            ahead = std::max(ahead, last.mid(6).toLongLong() + 1 - read);
        int kernel = 0;
        socklen_t size = sizeof kernel;
        getsockopt(int(printer->socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &kernel, &size);
        slack = std::max<qint64>(slack, kernel + Bite);
        QCoreApplication::processEvents();
        read += printer->read(Bite).size();
    });
    const int job = 2 * 1024 * 1024;
    Transmitter transmitter(link, host);
    ASSERT_TRUE(transmitter.SendBytes(counting(job)).ok());
    ASSERT_TRUE(transmitter.drain().ok());
    EXPECT_LE(ahead, slack);
    EXPECT_EQ(host.progress().mid(0, 2), QStringList({"Min=0", "Max=" + QString::number(job - 1)}));
    EXPECT_EQ(host.progress().last(), "Value=" + QString::number(job - 1));
}

TEST_F(NetworkLinkTest, AnswersComeBackAndTheCloseWaitsForThePrinter)
{
    Transmitter transmitter(link, host);
    ASSERT_TRUE(transmitter.hearsAnswers());
    // A flood first: the link hands on at most its window at a time.
    printer->write(QByteArray(1024 * 1024, '\x55'));
    QObject::connect(printer, &QIODevice::readyRead, [&] {
        if (printer->readAll().contains("?"))
            printer->write(QByteArray("7012\0", 5));
    });
    QDeadlineTimer flooded(10s);
    qsizetype largest = 0;
    while (largest < PrinterLink::AnswerWindow && !flooded.hasExpired()) {
        host.yield();
        largest = std::max(largest, link.link()->takeAnswers().size());
    }
    EXPECT_EQ(largest, PrinterLink::AnswerWindow);
    EXPECT_TRUE(transmitter.ask("?").ok());
    StoreFigureScanner capacity(StoreFigure::Capacity);
    const Answer answer = transmitter.readAnswer(capacity, QDeadlineTimer(10s));
    EXPECT_TRUE(answer.complete);
    EXPECT_EQ(capacity.figure(), 12);

    // The printer closes once it has read the end of the stream; the close sees it do so.
    bool sawEnd = false;
    QObject::connect(printer, &QIODevice::readChannelFinished, [&] {
        sawEnd = true;
        printer->close();
    });
    EXPECT_TRUE(link.ClosePort(port));
    EXPECT_TRUE(sawEnd);
    EXPECT_FALSE(link.closedLinkFailed());
}

// Only a printer known to have processed the whole erase hears "Done!!": it answers GS ( H after
// the job with the job's ID, or (silent) closes its side once it has read to the end of the stream.
TEST(NetworkDelivery, OnlyAPrinterThatReadTheWholeJobIsToldDone)
{
    const QByteArray erase = QByteArray::fromHex("1c71001d07020101");
    const QByteArray job = SilentQuestion + erase;
    const TransferLimits limits{30s, 1s};
    // A printer's side acknowledges what it takes into its buffer, read or not.
    const QString unread = TransferTexts::jobNotClosed(limits.completion);
    // Accepts, answers, reads that many bytes and no more (-1: to the end, then closes), resets
    // at the end of the stream instead; the error, none for "Done!!".
    const struct
    {
        bool accepts, answers;
        qsizetype readsUpTo;
        bool resets;
        QString error;
    } table[] = {
        {true, true, -1, false, {}},
        {true, false, -1, false, {}},
        {true, false, job.size(), true, {}},
        {true, false, 0, false, unread},
        {false, false, 0, false, unread},
        {true, true, BeforeJob.size(), false,
         TransferTexts::deliveryNotConfirmed(limits.completion, TransferTexts::noStatusAfterJob())},
    };
    for (const auto &row : table) {
        // Before the server: its sockets end with it and still call the handlers below.
        QByteArray received;
        QTcpSocket *printer = nullptr;
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        const QString address = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
        if (!row.accepts)
            server.pauseAccepting();
        // Qt reads ahead into a buffer of its own and closes at the stream's end by itself: a
        // bound on that buffer is a printer that stops reading, or that sees the end first.
        QTimer resetAtTheEnd;
        QObject::connect(&resetAtTheEnd, &QTimer::timeout, [&] {
            char end;
            if (printer->bytesAvailable() < job.size() ||
                ::recv(int(printer->socketDescriptor()), &end, 1, MSG_PEEK | MSG_DONTWAIT) != 0)
                return;
            received = printer->readAll();
            const linger reset{1, 0};
            setsockopt(int(printer->socketDescriptor()), SOL_SOCKET, SO_LINGER, &reset,
                       sizeof reset);
            printer->abort();
            resetAtTheEnd.stop();
        });
        QObject::connect(&server, &QTcpServer::newConnection, [&] {
            printer = server.nextPendingConnection();
            if (row.readsUpTo >= 0)
                printer->setReadBufferSize(std::max<qsizetype>(row.readsUpTo, 1));
            if (row.resets)
                resetAtTheEnd.start(5);
            QObject::connect(printer, &QIODevice::readyRead, [&] {
                if (row.resets || (row.readsUpTo >= 0 && received.size() >= row.readsUpTo))
                    return;
                const QByteArray piece = printer->readAll();
                received += piece;
                if (!row.answers)
                    return;
                printer->write(QByteArray(piece.count("\x10\x04"), 0x12));
                if (const qsizetype at = piece.indexOf(ProcessIdQuestion.first(7)); at >= 0)
                    printer->write("\x37\x22" + piece.mid(at + 7, 4) + '\0');
            });
            QObject::connect(printer, &QIODevice::readChannelFinished, [&] { printer->close(); });
        });
        ScriptedSerialControl control;
        PortLink link{control, [](const QString &) {}};
        RecordingTransferHost host;
        host.setOnYield([](int) { QCoreApplication::processEvents(); });
        const QString error =
            row.resets ? TransferTexts::writeFailed(LinkTexts::reset(address)) : row.error;
        EXPECT_EQ(TransferOperations(link, host, limits).erase("tcp://" + address, {}).message,
                  error);
        ASSERT_FALSE(host.messages().isEmpty());
        EXPECT_EQ(host.messages().last().text, error.isEmpty() ? TransferTexts::Done : error);
        const QByteArray sent = row.answers ? BeforeJob + erase + DeliveryQuestion : job;
        EXPECT_EQ(maskedIds(received), row.readsUpTo < 0 ? sent : sent.first(row.readsUpTo));
        EXPECT_EQ(link.openKind(), LinkKind::None);
    }
}

// Its close says nothing while bytes wait unacknowledged: only once the kernel on its side has
// taken every byte has it read the stream to its end.
TEST(NetworkDelivery, APrinterThatHalfClosesAtOnceHasReadToTheEndOnlyWhenEveryByteIsAcknowledged)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const int small = 2048;
    ASSERT_EQ(
        setsockopt(int(server.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &small, sizeof small), 0);
    ScriptedSerialControl control;
    PortLink link{control, [](const QString &) {}};
    const QString port = QStringLiteral("tcp://127.0.0.1:%1").arg(server.serverPort());
    ASSERT_TRUE(link.OpenPort(port, {}));
    ASSERT_TRUE(waitFor([&] { return server.hasPendingConnections(); }));
    QTcpSocket *printer = server.nextPendingConnection();
    printer->setReadBufferSize(1);
    ::shutdown(int(printer->socketDescriptor()), SHUT_WR);

    RecordingTransferHost host;
    host.setOnYield([&](int yields) {
        if (yields == 20)
            printer->setReadBufferSize(0);
        QCoreApplication::processEvents();
        printer->readAll();
    });
    Transmitter transmitter(link, host);
    ASSERT_TRUE(transmitter.SendBytes(counting(12000)).ok());
    ASSERT_TRUE(waitFor([&] { return link.link()->backlog() > 0; }));
    EXPECT_TRUE(transmitter.awaitReadToEnd().ok());
    EXPECT_EQ(link.link()->backlog(), 0);
    EXPECT_GE(host.yields(), 20);
    link.ClosePort(port);
}

// A listener whose backlog is full drops further connection requests: their connect hangs.
// A stop ends that wait, and a job or a status question ends as stopped, not as a port fault.
TEST(NetworkStop, AStopEndsTheWaitToConnect)
{
    const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    ASSERT_EQ(::bind(listener, reinterpret_cast<sockaddr *>(&address), length), 0);
    ASSERT_EQ(::listen(listener, 0), 0);
    ::getsockname(listener, reinterpret_cast<sockaddr *>(&address), &length);
    int queued[2];
    for (int &client : queued) {
        client = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0);
        ::connect(client, reinterpret_cast<sockaddr *>(&address), sizeof address);
    }
    const QString port = QStringLiteral("127.0.0.1:%1").arg(ntohs(address.sin_port));
    for (const bool status : {false, true}) {
        ScriptedSerialControl control;
        PortLink link(control);
        link.setConnectLimit(60s);
        RecordingTransferHost host;
        TransferOperations transfer(link, host);
        QTimer::singleShot(200ms, [&] { host.requestStop(); });
        QElapsedTimer clock;
        clock.start();
        TransferResult ended;
        if (status) {
            const StatusReport report = transfer.status(port, {});
            ended = {report.outcome, report.message};
        } else {
            ended = transfer.erase(port, {});
        }
        EXPECT_LT(clock.elapsed(), 30000) << "the stop came after 0.2 s";
        EXPECT_EQ(ended.outcome, TransferOutcome::Failed);
        EXPECT_EQ(ended.message, TransferTexts::StoppedBeforeJob);
        EXPECT_EQ(link.link(), nullptr);
    }
    for (const int fd : {listener, queued[0], queued[1]})
        ::close(fd);
}

TEST(NetworkLimits, ConnectFiveSecondsClosingTwoAndTheStatusWaits)
{
    EXPECT_EQ(NetworkLink::ConnectLimit, 5s);
    EXPECT_EQ(NetworkLink::CloseLimit, 2s);
    EXPECT_EQ(TransferLimits{}.stall, 30s);
    EXPECT_EQ(TransferLimits{}.completion, 3min);
    EXPECT_EQ(TransferLimits{}.graphicsAnswer, 2s);
    EXPECT_EQ(TransferLimits{}.nextAnswer, 2s);
    EXPECT_EQ(TransferLimits{}.keyList(100), 3min);
    EXPECT_EQ(TransferLimits{}.keyList(255), 382500ms);
    EXPECT_EQ(PrinterLink::AnswerWindow, 64 * 1024);
    EXPECT_EQ(KeyListScanner::MaxKeys, 255);
    EXPECT_EQ(GraphicControlBytes, 24);
}

} // namespace
