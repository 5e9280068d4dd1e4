#include "Transmitter.h"
#include "PortLink.h"
#include "PrinterCommands.h"
#include "QtPrinters.h"
#include "RecordingTransferHost.h"
#include "ScriptedSerialControl.h"
#include "TransferTexts.h"

#include <QElapsedTimer>
#include <QThread>

#include <gtest/gtest.h>

using namespace std::chrono_literals;

namespace {

const QByteArray FinishBytes("\x1D\x07\x02\x01\x01", 5);

QByteArray counting(int size)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char(i);
    return bytes;
}

QList<qsizetype> sizesOf(const QList<QByteArray> &pieces)
{
    QList<qsizetype> sizes;
    for (const QByteArray &piece : pieces)
        sizes << piece.size();
    return sizes;
}

TEST(PrinterCommands, BuildBytesFromValues)
{
    EXPECT_EQ(ToByteArray({0x1C, 0x70, 255, 0}), QByteArray("\x1C\x70\xFF\x00", 4));
    EXPECT_EQ(ToByteArray({0x1C, 0x70, 256, 0}), std::nullopt);
    EXPECT_EQ(ToByteArray({-1}), std::nullopt);
    EXPECT_EQ(uploadHeader(255), QByteArray("\x1C\x71\xFF", 3));
    EXPECT_EQ(uploadHeader(256), std::nullopt);
    EXPECT_EQ(eraseCommand(), QByteArray("\x1C\x71\x00", 3));
    EXPECT_EQ(printCommand(1), QByteArray("\x1C\x70\x01\x00", 4));
    EXPECT_EQ(finishCommand(), FinishBytes);
}

class TransmitterTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(link.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
    }

    ScriptedSerialControl control;
    PortLink link{control, [](const QString &) {}};
    RecordingTransferHost host;
    // The product's limits, which no passing send comes near; the limits' own tests use short
    // ones.
    Transmitter transmitter{link, host};
    TransferLimits shortLimits{20ms, 40ms};
    Transmitter impatient{link, host, shortLimits};
};

TEST_F(TransmitterTest, SplitsArraysIntoQuarterBufferPieces)
{
    const QList<std::pair<int, QList<qsizetype>>> cases = {
        {3, {3}},
        {256, {256}},
        {257, {256, 1}},
        {1000, {256, 256, 256, 232}},
    };
    for (const auto &[size, pieces] : cases) {
        ScriptedSerialControl fresh;
        PortLink freshLink(fresh, [](const QString &) {});
        ASSERT_TRUE(freshLink.OpenPort(QStringLiteral("COM1:"), QStringLiteral("9600")));
        Transmitter sender(freshLink, host);

        EXPECT_TRUE(sender.SendBytes(counting(size)).ok());
        EXPECT_EQ(sizesOf(fresh.pieces()), pieces) << size;
        EXPECT_EQ(fresh.sent(), counting(size)) << size;
    }
}

TEST_F(TransmitterTest, WhatThePrinterSaysWhileAJobGoesOutIsDroppedBeforeEachPiece)
{
    int undrained = 0;
    control.setOnOutput([&](const QByteArray &) {
        undrained += !control.Input().isEmpty();
        control.answer(QByteArray(5000, 'x'));
    });
    Transmitter sender(link, host);
    EXPECT_TRUE(sender.SendBytes(counting(1000)).ok());
    EXPECT_EQ(control.pieces().size(), 4);
    EXPECT_EQ(undrained, 0);
}

TEST_F(TransmitterTest, PieceSizeFollowsTheTransmitBuffer)
{
    control.setOutBufferSize(100);
    EXPECT_TRUE(transmitter.SendBytes(counting(60)).ok());
    EXPECT_EQ(sizesOf(control.pieces()), QList<qsizetype>({25, 25, 10}));
}

TEST_F(TransmitterTest, ProgressCountsWhatLeftTheTransmitBufferArrayByArray)
{
    // 100 bytes leave the buffer at each look at it; the 3-byte header is still queued when
    // the 600-byte array goes out, which gets its range only once the header has left.
    control.setDrainPerRead(100);
    QList<qsizetype> progressAtOutput;
    control.setOnOutput([&](const QByteArray &) { progressAtOutput << host.progress().size(); });

    EXPECT_TRUE(transmitter.SendBytes(QByteArray("\x1C\x71\x01", 3)).ok());
    EXPECT_TRUE(transmitter.SendBytes(counting(600)).ok());
    EXPECT_TRUE(transmitter.drain().ok());
    EXPECT_EQ(host.progress(),
              QStringList({"Min=0", "Max=2", "Value=2", "Min=0", "Max=599", "Value=99", "Value=199",
                           "Value=299", "Value=399", "Value=499", "Value=599"}));
    EXPECT_EQ(progressAtOutput, QList<qsizetype>({2, 2, 5, 6}));
}

TEST_F(TransmitterTest, NothingIsQueuedWhileCtsIsLow)
{
    control.setCts(false);
    host.setOnYield([&](int yields) {
        EXPECT_TRUE(control.pieces().isEmpty());
        if (yields == 5)
            control.setCts(true);
    });

    EXPECT_TRUE(transmitter.SendBytes(counting(3)).ok());
    EXPECT_EQ(host.yields(), 5);
    EXPECT_EQ(control.sent(), counting(3));
}

TEST_F(TransmitterTest, CtsAlreadyAssertedNeedsNoYield)
{
    EXPECT_TRUE(transmitter.SendBytes(counting(1000)).ok());
    EXPECT_EQ(host.yields(), 0);
}

TEST_F(TransmitterTest, NothingIsQueuedWhileTheBacklogIsAtHalfTheBuffer)
{
    control.setDrainPerRead(0);
    QList<int> backlogBeforeOutput;
    control.setOnOutput([&](const QByteArray &piece) {
        backlogBeforeOutput << control.queued() - int(piece.size());
    });
    host.setOnYield([&](int) { control.drain(100); });

    EXPECT_TRUE(transmitter.SendBytes(counting(1000)).ok());
    // 0 and 256 go at once; 512 must drain to 412, then 668 to 468.
    EXPECT_EQ(backlogBeforeOutput, QList<int>({0, 256, 412, 468}));
    EXPECT_EQ(host.yields(), 3);
    EXPECT_EQ(control.sent(), counting(1000));
}

TEST_F(TransmitterTest, SlowDrainingIsProgressNotAStall)
{
    const TransferLimits limits{1s, 1s};
    Transmitter patient(link, host, limits);
    control.setDrainPerRead(0);
    control.setOutput(QByteArray(1000, 'x'));
    host.setOnYield([&](int) {
        control.drain(2);
        QThread::msleep(5);
    });

    // 245 yields of at least 5 ms each: longer than the stall limit, but never idle for more
    // than a step.
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(patient.SendBytes(counting(3)).ok());
    EXPECT_EQ(host.yields(), 245);
    EXPECT_GT(clock.elapsed(), limits.stall.count());
}

TEST_F(TransmitterTest, PrinterThatNeverAssertsCtsEndsTheSend)
{
    control.setCts(false);
    const StepResult result = impatient.SendBytes(counting(3));
    EXPECT_EQ(result.status, StepStatus::Failed);
    EXPECT_EQ(result.error, TransferTexts::printerNotReady(shortLimits.stall));
    EXPECT_TRUE(control.pieces().isEmpty());
    EXPECT_GT(host.yields(), 0);
}

TEST_F(TransmitterTest, BacklogThatNeverDrainsEndsTheSend)
{
    control.setDrainPerRead(0);
    const StepResult result = impatient.SendBytes(counting(1000));
    EXPECT_EQ(result.status, StepStatus::Failed);
    EXPECT_EQ(result.error, TransferTexts::printerNotDraining(shortLimits.stall));
    EXPECT_EQ(sizesOf(control.pieces()), QList<qsizetype>({256, 256}));
}

TEST_F(TransmitterTest, StopEndsEveryWait)
{
    control.setCts(false);
    host.setOnYield([&](int yields) {
        if (yields == 3)
            host.requestStop();
    });
    StepResult result = transmitter.SendBytes(counting(3));
    EXPECT_EQ(result.status, StepStatus::Stopped);
    EXPECT_EQ(host.yields(), 3);

    control.setCts(true);
    control.setDrainPerRead(0);
    control.setOutput(QByteArray(512, 'x'));
    result = transmitter.SendBytes(counting(3));
    EXPECT_EQ(result.status, StepStatus::Stopped);
    EXPECT_EQ(host.yields(), 4);

    result = transmitter.FinishTransfer();
    EXPECT_EQ(result.status, StepStatus::Stopped);
    EXPECT_EQ(control.pieces().size(), 1);
    EXPECT_TRUE(host.messages().isEmpty());
}

TEST_F(TransmitterTest, FailedWriteEndsTheSend)
{
    control.failWritesAfter(300, QStringLiteral("Input/output error"));
    const StepResult result = transmitter.SendBytes(counting(1000));
    EXPECT_EQ(result.status, StepStatus::Failed);
    EXPECT_EQ(result.error, TransferTexts::writeFailed(QStringLiteral("Input/output error")));
    EXPECT_EQ(control.sent(), counting(300));
}

TEST_F(TransmitterTest, FinishWaitsForCtsThenSendsTheFinishCommand)
{
    control.setCts(false);
    host.setOnYield([&](int yields) {
        if (yields == 4)
            control.setCts(true);
    });
    control.setOnOutput([&](const QByteArray &) { host.note(QStringLiteral("output")); });

    EXPECT_TRUE(transmitter.FinishTransfer().ok());
    EXPECT_EQ(host.yields(), 4);
    EXPECT_EQ(control.sent(), FinishBytes);
    // "Done!!" waits for the link to close without loss; the operations tell it.
    EXPECT_EQ(host.events(), QStringList({"output"}));
    // The bytes count once the printer has them, which the drain waits for.
    EXPECT_EQ(host.progress(), QStringList({"Min=0", "Max=4"}));
}

TEST_F(TransmitterTest, FinishYieldsOnceEvenWhenThePrinterIsReady)
{
    EXPECT_TRUE(transmitter.FinishTransfer().ok());
    EXPECT_EQ(host.yields(), 1);
    EXPECT_EQ(control.sent(), FinishBytes);
}

TEST_F(TransmitterTest, PrinterThatNeverFinishesStoringEndsTheWait)
{
    control.setCts(false);
    const StepResult result = impatient.FinishTransfer();
    EXPECT_EQ(result.status, StepStatus::Failed);
    EXPECT_EQ(result.error, TransferTexts::printerNotFinished(shortLimits.completion));
    EXPECT_TRUE(control.pieces().isEmpty());
    EXPECT_TRUE(host.messages().isEmpty());
}

TEST_F(TransmitterTest, WithoutALinkNothingIsSent)
{
    ASSERT_TRUE(link.ClosePort(QStringLiteral("COM1:")));
    EXPECT_EQ(transmitter.SendBytes(counting(3)).status, StepStatus::NoLink);
    EXPECT_EQ(transmitter.FinishTransfer().status, StepStatus::NoLink);
    EXPECT_TRUE(control.pieces().isEmpty());
    EXPECT_TRUE(host.messages().isEmpty());
    EXPECT_TRUE(host.progress().isEmpty());
}

} // namespace
