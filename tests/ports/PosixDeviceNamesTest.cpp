#include "PortNames.h"
#include "RecordingComboBox.h"
#include "modSerailIO.h"

#include "QStringPrinter.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

namespace {

TEST(DevicePaths, ClassifiesSerialAndPrinterDevices)
{
    for (const char *text :
         {"/dev/ttyS0", "/dev/ttyS10", "/dev/ttyUSB0", "/dev/ttyACM1", "/dev/ttyAMA0",
          "/dev/ttymxc2", "/dev/rfcomm0", "/dev/pts/3", "/dev/pts/12",
          "/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A50285BI-if00-port0",
          "/dev/serial/by-path/pci-0000:00:14.0-usb-0:2:1.0-port0"})
        EXPECT_EQ(linkKindOf(QString::fromUtf8(text)), LinkKind::Serial) << text;
    for (const char *text : {"/dev/usb/lp0", "/dev/usb/lp15", "/dev/lp0", "/dev/lp3"})
        EXPECT_EQ(linkKindOf(QString::fromUtf8(text)), LinkKind::Parallel) << text;
    for (const char *text :
         {"/dev/tty", "/dev/tty1", "/dev/tty63", "/dev/pts/", "/dev/pts/ptmx",
          "/dev/ttyUSB0 (Used)", " /dev/ttyUSB0", "/dev/ttyUSB0 ", "/dev/ttyUSB0/../sda",
          "/dev/sda", "/dev/usb/lp", "/dev/lpx", "/dev/usb/lp0/x", "/tmp/lp0", "dev/ttyS0",
          "/dev/serial/by-id/..", "/dev/serial/by-id/", "/dev/console", "/dev/null"})
        EXPECT_EQ(linkKindOf(QString::fromUtf8(text)), LinkKind::None) << text;
}

TEST(DevicePaths, AStableLinkNamesTheDeviceItPointsTo)
{
    QTemporaryDir folder;
    const QString printer = folder.filePath(QStringLiteral("receipt-printer"));
    const QString console = folder.filePath(QStringLiteral("console"));
    const QString plain = folder.filePath(QStringLiteral("plain"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/ptmx"), console));
    ASSERT_TRUE(QFile(plain).open(QIODevice::WriteOnly));
    EXPECT_EQ(linkKindOf(console), LinkKind::None);
    EXPECT_EQ(linkKindOf(plain), LinkKind::None);
    EXPECT_EQ(linkKindOf(folder.filePath(QStringLiteral("missing"))), LinkKind::None);
    // Only a device that exists can be resolved; a pseudo-terminal slave always does here.
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(master, 0);
    ASSERT_EQ(grantpt(master), 0);
    ASSERT_EQ(unlockpt(master), 0);
    ASSERT_TRUE(QFile::link(QString::fromLocal8Bit(ptsname(master)), printer));
    EXPECT_EQ(linkKindOf(printer), LinkKind::Serial);
    EXPECT_EQ(serialDeviceFor(printer), printer);
    close(master);
}

TEST(DevicePaths, MapsPortNamesToLinuxDevices)
{
    EXPECT_EQ(serialDeviceFor(QStringLiteral("COM1:")), QStringLiteral("/dev/ttyS0"));
    EXPECT_EQ(serialDeviceFor(QStringLiteral("com12:")), QStringLiteral("/dev/ttyS11"));
    EXPECT_EQ(serialDeviceFor(QStringLiteral("/dev/ttyUSB0")), QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(serialDeviceFor(QStringLiteral("/dev/pts/4")), QStringLiteral("/dev/pts/4"));
    EXPECT_EQ(parallelDeviceFor(QStringLiteral("LPT1:")), QStringLiteral("/dev/lp0"));
    EXPECT_EQ(parallelDeviceFor(QStringLiteral("lpt3:")), QStringLiteral("/dev/lp2"));
    EXPECT_EQ(parallelDeviceFor(QStringLiteral("/dev/usb/lp0")), QStringLiteral("/dev/usb/lp0"));

    for (const char *text : {"COM0:", "COM-1:", "COM5", "COM12", "COM40000:", "COM1: (Used)",
                             "LPT1:", "/dev/usb/lp0", "/dev/tty1", "FILE:"})
        EXPECT_TRUE(serialDeviceFor(QString::fromUtf8(text)).isEmpty()) << text;
    EXPECT_EQ(parallelDeviceFor(QStringLiteral("LPT12:")), QStringLiteral("/dev/lp11"));
    for (const char *text :
         {"LPT0:", "LPT2", "LPT12", "LPT1: (Used)", "COM1:", "/dev/ttyUSB0", "PRN"})
        EXPECT_TRUE(parallelDeviceFor(QString::fromUtf8(text)).isEmpty()) << text;
}

TEST(DevicePaths, FillPortListListsDevicePaths)
{
    struct Catalogue : PortCatalogue
    {
        QStringList ports() const override
        {
            return {"/dev/lp0",  "/dev/usb/lp0", "/dev/ttyUSB0",
                    "/dev/tty1", "/dev/sda",     "/dev/ttyS0"};
        }
        QList<InstalledPrinter> printers() const override { return {{"/dev/usb/lp0", "Receipt"}}; }
    };
    RecordingComboBox box;
    FillPortList(box, Catalogue());
    EXPECT_EQ(box.items,
              QStringList({"/dev/ttyS0", "/dev/ttyUSB0", "/dev/usb/lp0 (Used)", "/dev/lp0"}));
    EXPECT_EQ(box.currentIndex, 0);
}

} // namespace
