#include "PosixPortCatalogue.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

// A folder standing in for /dev and /sys.
class FakeMachine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(folder.isValid());
        roots = {folder.filePath("dev"), folder.filePath("sys")};
        ASSERT_TRUE(QDir().mkpath(folder.filePath("sys/devices/platform/serial8250")));
        ASSERT_TRUE(QDir().mkpath(roots.devRoot + "/usb"));
    }

    void addTty(const QString &name, bool withDevice, const char *type = nullptr)
    {
        const QString ttyFolder = roots.sysRoot + "/class/tty/" + name;
        ASSERT_TRUE(QDir().mkpath(ttyFolder));
        if (withDevice) {
            ASSERT_TRUE(QFile::link(folder.filePath("sys/devices/platform/serial8250"),
                                    ttyFolder + "/device"));
        }
        if (type)
            write(ttyFolder + "/type", type);
    }

    void addDevice(const QString &relativePath) { write(roots.devRoot + "/" + relativePath, ""); }

    static void write(const QString &path, const char *content)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QString dev(const QString &relativePath) const { return roots.devRoot + "/" + relativePath; }

    QTemporaryDir folder;
    DeviceRoots roots;
};

class ScriptedQueues : public CupsQueueSource
{
public:
    explicit ScriptedQueues(QList<CupsQueue> queues)
        : m_queues(std::move(queues))
    {}
    QList<CupsQueue> queues() const override { return m_queues; }

private:
    QList<CupsQueue> m_queues;
};

TEST_F(FakeMachine, ListsHardwarePortsThenPrinterDevicesReversed)
{
    addTty("ttyS0", true, "0\n");
    addTty("ttyS1", true, "4\n");
    addTty("ttyS10", true, "4\n");
    addTty("ttyS2", true, "4\n");
    addTty("ttyS3", true, "4\n"); // no device file
    addTty("ttyS4", true);        // no type reported
    addTty("ttyS5", true, "x\n");
    addTty("ttyUSB0", true);
    addTty("ttyACM0", true);
    addTty("tty5", false);
    addTty("console", false);
    for (const char *name :
         {"ttyS0", "ttyS1", "ttyS2", "ttyS4", "ttyS5", "ttyS10", "ttyUSB0", "ttyACM0", "tty5",
          "console", "usb/lp1", "usb/lp0", "lp0", "lp", "lpt", "lp0.old", "usb/hiddev0"})
        addDevice(name);

    // The port box shows ttyACM0, ttyS1, ttyS2, ttyS4, ttyS10, ttyUSB0, usb/lp0, usb/lp1, lp0.
    EXPECT_EQ(scanPortDevices(roots), QStringList({dev("lp0"), dev("usb/lp1"), dev("usb/lp0"),
                                                   dev("ttyUSB0"), dev("ttyS10"), dev("ttyS4"),
                                                   dev("ttyS2"), dev("ttyS1"), dev("ttyACM0")}));
}

TEST_F(FakeMachine, FindsNothingOnAnEmptyMachine)
{
    EXPECT_TRUE(scanPortDevices(roots).isEmpty());
    EXPECT_TRUE(scanPortDevices({folder.filePath("none"), folder.filePath("none")}).isEmpty());
}

TEST_F(FakeMachine, CatalogueTakesPrintersFromQueuesOnLocalPorts)
{
    addDevice("usb/lp0");
    const PosixPortCatalogue catalogue(roots, std::make_unique<ScriptedQueues>(QList<CupsQueue>{
                                                  {"Receipt", "serial:/dev/ttyUSB0?baud=9600"},
                                                  {"Office", "ipp://office.example/printers/laser"},
                                                  {"Label", "usb://Zebra/ZD420?serial=D4J"},
                                                  {"Raw", "file:/dev/usb/lp0"},
                                              }));
    EXPECT_EQ(catalogue.ports(), QStringList({dev("usb/lp0")}));
    const QList<InstalledPrinter> printers = catalogue.printers();
    ASSERT_EQ(printers.size(), 2);
    EXPECT_EQ(printers[0].port, QStringLiteral("/dev/ttyUSB0"));
    EXPECT_EQ(printers[0].deviceName, QStringLiteral("Receipt"));
    EXPECT_EQ(printers[1].port, QStringLiteral("/dev/usb/lp0"));
    EXPECT_EQ(printers[1].deviceName, QStringLiteral("Raw"));
}

} // namespace
