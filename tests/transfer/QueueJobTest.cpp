#include "Polling.h"
#include "PortLink.h"
#include "PrintQueueJob.h"
#include "PrinterCommands.h"
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

// A scheduler of the test's own, with or without a job history, in front of a printer in this
// process; orvane reaches that scheduler only.
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

TEST_P(QueueJob, AJobThePrinterTakesOnlyPastTheCompletionLimitIsWaitedForAndNeverCancelled)
{
    // The printer takes nothing for twice the limit: it holds the connection in its backlog
    // with a small window, so the scheduler is still sending the job.
    const auto limit = 200ms;
    const int window = 2048;
    ASSERT_EQ(::setsockopt(int(printer.socketDescriptor()), SOL_SOCKET, SO_RCVBUF, &window,
                           sizeof window),
              0);
    printer.pauseAccepting();
    QByteArray job(300000, '\0');
    for (int i = 0; i < job.size(); ++i)
        job[i] = char(i * 7 + i / 251);
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
    const StepResult drained = transmitter.drain();
    EXPECT_TRUE(drained.ok()) << drained.error.toStdString();
    EXPECT_EQ(taken, job);
    // The scheduler counts nothing the printer took: a wait, never a count.
    EXPECT_EQ(host.progress(), QStringList({"Min=0", "Max=0"}));
}

// A job that ends before anyone asks: a scheduler without history has forgotten it by then,
// and only its notice of the end tells how it went.
TEST_P(QueueJob, AJobThatEndedBeforeTheFirstQuestionIsKnownCompleted)
{
    const std::unique_ptr<PrintQueueJob> job = createPrintQueueJob("slow");
    ASSERT_TRUE(job->start() && job->write("\x1b@", 2) && job->finish()) << job->error();
    QTcpSocket *peer = nullptr;
    QByteArray taken;
    ASSERT_TRUE(waitFor([&] {
        return (peer || (peer = printer.nextPendingConnection())) &&
               (taken += peer->readAll()).size() == 2;
    }));
    peer->disconnectFromHost();
    ASSERT_TRUE(waitFor([&] {
        return scheduler.run("lpstat", {"-W", "not-completed", "-o"}).out.isEmpty();
    }));
    std::string said;
    EXPECT_EQ(job->phase(said), PrintQueueJob::Phase::Completed) << said;
}

INSTANTIATE_TEST_SUITE_P(History, QueueJob, ::testing::Bool());

} // namespace
