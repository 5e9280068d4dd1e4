#include "DeviceAnswers.h"

#include "QStringPrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

TEST(DeviceAnswers, OnlyAUsbPrinterAnswersAndItsAnswersAreReadWithoutWaiting)
{
    EXPECT_TRUE(deviceAnswers("/dev/usb/lp0"));
    EXPECT_TRUE(deviceAnswers("/dev/usb/lp12"));
    EXPECT_FALSE(deviceAnswers("/dev/lp0"));
    EXPECT_FALSE(deviceAnswers("/dev/usb/lp"));
    QTemporaryDir dir;
    const QString link = dir.filePath("receipt");
    ASSERT_TRUE(QFile::link("/dev/usb/lp3", link));
    EXPECT_TRUE(deviceAnswers(link));

    int ends[2];
    ASSERT_EQ(::pipe2(ends, O_NONBLOCK), 0);
    EXPECT_EQ(readDeviceAnswers(ends[0], 1024), QByteArray());
    ASSERT_EQ(::write(ends[1], "\x12\x16\x12", 3), 3);
    EXPECT_EQ(readDeviceAnswers(ends[0], 1024), QByteArray("\x12\x16\x12"));
    EXPECT_EQ(readDeviceAnswers(ends[0], 1024), QByteArray());
    // A flood is read no further than the limit at a time.
    const QByteArray flood(3000, 'x');
    ASSERT_EQ(::write(ends[1], flood.data(), flood.size()), flood.size());
    EXPECT_EQ(readDeviceAnswers(ends[0], 1024).size(), 1024);
    ::close(ends[0]);
    ::close(ends[1]);
}

} // namespace
