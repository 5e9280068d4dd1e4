#include "NetworkLink.h"
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
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <gtest/gtest.h>

#include <sys/socket.h>

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

TEST_F(NetworkLinkTest, AnswersComeBackAndTheCloseWaitsForThePrinter)
{
    Transmitter transmitter(link, host);
    ASSERT_TRUE(transmitter.hearsAnswers());
    QObject::connect(printer, &QIODevice::readyRead, [&] {
        if (printer->readAll().contains("?"))
            printer->write("!!");
    });
    EXPECT_TRUE(transmitter.ask("?").ok());
    const Answer answer = transmitter.readAnswer(
        [](const QByteArray &bytes) { return bytes.size() >= 2; }, QDeadlineTimer(10s));
    EXPECT_TRUE(answer.complete);
    EXPECT_EQ(answer.bytes, QByteArray("!!"));

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

// Only a printer known to have read the whole erase hears "Done!!": it answers DLE EOT 1 again
// after the job, or (silent) closes its side once it has read to the end of the stream.
TEST(NetworkDelivery, OnlyAPrinterThatReadTheWholeJobIsToldDone)
{
    enum class Printer { Answers, Silent, ResetsAtTheEnd, NeverReads, NeverAccepted, StopsReading };
    const QByteArray erase = QByteArray::fromHex("1c71001d07020101");
    const TransferLimits limits{30s, 1s};
    const struct
    {
        Printer printer;
        QString error; // none: "Done!!"
        QByteArray received;
    } table[] = {
        {Printer::Answers, {}, StatusQuestions + erase + DeliveryQuestion},
        {Printer::Silent, {}, StatusQuestions + erase},
        {Printer::ResetsAtTheEnd, "reset", StatusQuestions + erase},
        {Printer::NeverReads, TransferTexts::jobNotReadToEnd(limits.completion), {}},
        {Printer::NeverAccepted, TransferTexts::jobNotReadToEnd(limits.completion), {}},
        {Printer::StopsReading, TransferTexts::deliveryNotConfirmed(limits.completion),
         StatusQuestions},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(int(row.printer));
        QTcpServer server;
        ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
        const QString address = QStringLiteral("127.0.0.1:%1").arg(server.serverPort());
        if (row.printer == Printer::NeverAccepted)
            server.pauseAccepting();
        QByteArray received;
        QTcpSocket *printer = nullptr;
        // Qt reads ahead into its own buffer and closes at the end of the stream by itself: a
        // bound on that buffer is a printer that stops reading, or one that sees the end before
        // Qt does and resets the connection instead.
        QTimer resetAtTheEnd;
        QObject::connect(&resetAtTheEnd, &QTimer::timeout, [&] {
            char end;
            if (!printer || printer->bytesAvailable() < StatusQuestions.size() + erase.size() ||
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
            if (row.printer == Printer::NeverReads)
                printer->setReadBufferSize(1);
            if (row.printer == Printer::StopsReading)
                printer->setReadBufferSize(StatusQuestions.size());
            if (row.printer == Printer::ResetsAtTheEnd) {
                printer->setReadBufferSize(StatusQuestions.size() + erase.size());
                resetAtTheEnd.start(5);
            }
            QObject::connect(printer, &QIODevice::readyRead, [&] {
                const bool answered = received.size() >= StatusQuestions.size();
                if (row.printer == Printer::NeverReads || row.printer == Printer::ResetsAtTheEnd ||
                    (row.printer == Printer::StopsReading && answered))
                    return;
                const qsizetype from = received.size();
                received += printer->readAll();
                const bool answers =
                    row.printer == Printer::Answers || row.printer == Printer::StopsReading;
                for (qsizetype i = std::max<qsizetype>(from, 1); answers && i < received.size();
                     ++i) {
                    if (received[i - 1] == 0x10 && received[i] == 0x04)
                        printer->write("\x12");
                }
            });
            QObject::connect(printer, &QIODevice::readChannelFinished, [&] { printer->close(); });
        });
        ScriptedSerialControl control;
        PortLink link{control, [](const QString &) {}};
        RecordingTransferHost host;
        host.setOnYield([](int) { QCoreApplication::processEvents(); });
        TransferOperations operations{link, host, limits};

        const TransferResult result = operations.erase("tcp://" + address, {});
        const QString error = row.error == "reset"
                                  ? TransferTexts::writeFailed(LinkTexts::reset(address))
                                  : row.error;
        EXPECT_EQ(result.outcome,
                  error.isEmpty() ? TransferOutcome::Succeeded : TransferOutcome::Failed);
        EXPECT_EQ(result.message, error);
        ASSERT_FALSE(host.messages().isEmpty());
        EXPECT_EQ(host.messages().last().text, error.isEmpty() ? TransferTexts::Done : error);
        EXPECT_EQ(received, row.received);
        EXPECT_EQ(link.openKind(), LinkKind::None);
    }
}

TEST(NetworkLimits, ConnectFiveSecondsClosingTwoAndTheStatusWaits)
{
    EXPECT_EQ(NetworkLink::ConnectLimit, 5s);
    EXPECT_EQ(NetworkLink::CloseLimit, 2s);
    EXPECT_EQ(TransferLimits{}.stall, 30s);
    EXPECT_EQ(TransferLimits{}.completion, 3min);
    EXPECT_EQ(TransferLimits{}.graphicsAnswer, 2s);
}

} // namespace
