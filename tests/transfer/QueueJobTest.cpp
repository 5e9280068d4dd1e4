#include "Polling.h"
#include "PortLink.h"
#include "PrintQueueJob.h"
#include "PrivateScheduler.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "Transmitter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

#include <cups/cups.h>
#include <sys/socket.h>

using namespace std::chrono_literals;

namespace {

// A scheduler of the test's own, with or without a job history, before a printer in this process.
struct QueueJob : ::testing::TestWithParam<bool>
{
    void SetUp() override
    {
        ASSERT_TRUE(scheduler.start(GetParam() ? "" : "PreserveJobHistory No\n"))
            << scheduler.why().toStdString();
        qputenv("CUPS_SERVER", scheduler.server().toUtf8());
        cupsSetServer(nullptr); // read again by this thread
        ASSERT_TRUE(printer.listen(QHostAddress::LocalHost));
        ASSERT_TRUE(scheduler.addQueue(
            "slow", QStringLiteral("socket://127.0.0.1:%1").arg(printer.serverPort())));
    }
    PrivateScheduler scheduler;
    QTcpServer printer;
};

TEST_P(QueueJob, IsWaitedForPastTheCompletionLimitNeverCancelledAndKnownCompletedOnceForgotten)
{
    // The printer takes nothing for twice the limit: it holds the connection in its backlog
    // with a small window, so the scheduler is still sending the job.
    const auto limit = 200ms;
    const int window = 2048;
    ::setsockopt(int(printer.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &window, sizeof window);
    printer.pauseAccepting();
    QByteArray job;
    for (int i = 0; job.size() < 300000; ++i)
        job += QByteArray::number(i);
    QTcpSocket *peer = nullptr;
    QByteArray taken;
    QElapsedTimer waiting;
    RecordingTransferHost host;
    host.setOnYield([&](int) {
        QCoreApplication::processEvents();
        if (!waiting.isValid() && !host.statuses().isEmpty())
            waiting.start();
        if (!peer && waiting.isValid() && waiting.hasExpired(2 * limit.count()))
            printer.resumeAccepting();
        if (!peer && (peer = printer.nextPendingConnection()))
            QObject::connect(peer, &QTcpSocket::readyRead, [&] {
                if ((taken += peer->readAll()).size() == job.size())
                    peer->disconnectFromHost();
            });
    });
    ScriptedSerialControl control;
    PortLink link(control);
    ASSERT_TRUE(link.OpenPort("queue:slow", {}));
    Transmitter transmitter(link, host, {.completion = limit});
    ASSERT_TRUE(transmitter.SendBytes(job).ok());
    EXPECT_TRUE(transmitter.drain().ok());
    EXPECT_TRUE(taken == job);
    // The scheduler counts nothing the printer took: a wait, never a count.
    EXPECT_EQ(host.progress(), QStringList({"Min=0", "Max=0"}));

    // A job that ended before anyone asked: a scheduler without history forgot it, and only its
    // notice of the end tells.
    const std::unique_ptr<PrintQueueJob> quick = createPrintQueueJob("slow");
    ASSERT_TRUE(quick->start() && quick->write("\x1b@", 2) && quick->finish());
    ASSERT_TRUE(waitFor([&] { return scheduler.run("lpstat", {"-o"}).out.isEmpty(); }));
    std::string said;
    EXPECT_EQ(quick->phase(said), PrintQueueJob::Phase::Completed) << said;
}

INSTANTIATE_TEST_SUITE_P(History, QueueJob, ::testing::Bool());

} // namespace
