#include "Polling.h"
#include "PortLink.h"
#include "PrintQueueJob.h"
#include "PrinterCommands.h"
#include "PrivateScheduler.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "TransferOperations.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>

#include <gtest/gtest.h>

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
        ASSERT_TRUE(printer.listen(QHostAddress::LocalHost));
        ASSERT_TRUE(scheduler.addQueue(
            "slow", QStringLiteral("socket://127.0.0.1:%1").arg(printer.serverPort())));
    }
    PrivateScheduler scheduler;
    QTcpServer printer;
};

TEST_P(QueueJob, AJobThePrinterTakesOnlyPastTheCompletionLimitIsWaitedForAndNeverCancelled)
{
    const auto limit = 200ms;
    const QByteArray job = eraseCommand() + finishCommand();
    QTcpSocket *peer = nullptr;
    QByteArray taken;
    QElapsedTimer connected;
    RecordingTransferHost host;
    host.setOnYield([&](int) {
        QCoreApplication::processEvents();
        if (!peer && (peer = printer.nextPendingConnection()))
            connected.start();
        // The printer takes nothing until the limit has passed twice over.
        if (peer && connected.hasExpired(2 * limit.count()) && taken.size() < job.size() &&
            (taken += peer->readAll()).size() == job.size())
            peer->disconnectFromHost();
    });
    ScriptedSerialControl control;
    PortLink link(control);
    TransferOperations transfer(link, host, {.completion = limit});
    const TransferResult result = transfer.erase("queue:slow", {}, NvCommandSet::BitImage);
    EXPECT_EQ(result.outcome, TransferOutcome::Succeeded) << result.error.toStdString();
    EXPECT_EQ(taken, job);
    // The scheduler counts nothing the printer took: a wait, never a count.
    EXPECT_TRUE(host.progress().contains("Max=0"));
    EXPECT_FALSE(host.progress().join(' ').contains("Value="));
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
