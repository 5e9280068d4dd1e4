#include "ParallelDevice.h"

#include "QStringPrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A FIFO stands in for the printer: its reader decides how fast bytes are taken.
class PrinterFifo : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0);
        reader = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK);
        ASSERT_GE(reader, 0);
    }
    void TearDown() override { ::close(reader); }

    // What the FIFO holds and is still given, a chunk at a time with a pause after each,
    // until the writer closes or nothing comes for quiet.
    QByteArray readAll(std::chrono::milliseconds quiet, std::chrono::milliseconds pause = 0ms) const
    {
        QByteArray bytes;
        char chunk[4096];
        pollfd entry{reader, POLLIN, 0};
        while (::poll(&entry, 1, int(quiet.count())) > 0) {
            const ssize_t got = ::read(reader, chunk, sizeof chunk);
            if (got <= 0)
                break;
            bytes.append(chunk, got);
            std::this_thread::sleep_for(pause);
        }
        return bytes;
    }

    static QByteArray pattern(qsizetype size)
    {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 251);
        return bytes;
    }

    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("lp0"));
    int reader = -1;
};

TEST_F(PrinterFifo, APrinterThatStopsTakingBytesFailsTheWrite)
{
    ParallelDevice device(200ms);
    ASSERT_TRUE(device.open(path)) << device.errorText().toStdString();
    // Far more than the FIFO holds, and nobody reads.
    const QByteArray bytes = pattern(1024 * 1024);
    EXPECT_FALSE(device.write(bytes));
    EXPECT_EQ(device.errorText(), QStringLiteral("the printer took no data for 0.2 s (out of "
                                                 "paper, offline or switched off?)"));

    const QByteArray taken = readAll(500ms);
    EXPECT_GT(taken.size(), 0);
    EXPECT_LT(taken.size(), bytes.size());
    EXPECT_TRUE(bytes.startsWith(taken));
}

TEST_F(PrinterFifo, ASlowPrinterGetsEveryByteInOrder)
{
    ParallelDevice device(10s);
    ASSERT_TRUE(device.open(path)) << device.errorText().toStdString();
    const QByteArray bytes = pattern(1024 * 1024);
    QByteArray taken;
    std::thread printer([&] { taken = readAll(10s, 1ms); });
    EXPECT_TRUE(device.write(bytes)) << device.errorText().toStdString();
    device.close();
    printer.join();
    EXPECT_EQ(taken.size(), bytes.size());
    EXPECT_TRUE(taken == bytes);
}

} // namespace
