#include "CliHarness.h"

#include "LinkTexts.h"
#include "TransferTexts.h"

#include <QTcpServer>
#include <QTcpSocket>

namespace {

// A virtual printer on a TCP port of 127.0.0.1, and a folder for pictures.
class NetworkPrinter : public ::testing::Test
{
protected:
    void start(const QStringList &options = {})
    {
        ASSERT_TRUE(m_dir.isValid());
        ASSERT_TRUE(printer.start(m_dir.filePath("printer"), QStringList{"--tcp", "0"} + options));
        address = printer.address();
        ASSERT_TRUE(address.startsWith("127.0.0.1:")) << address.toStdString();
    }
    QString picture(int width, int height, unsigned seed)
    {
        return savedNoise(m_dir, width, height, seed);
    }

    VirtualPrinterProcess printer{QStringLiteral(VIRTUAL_PRINTER_EXE)};
    QString address;

private:
    QTemporaryDir m_dir;
};

TEST_F(NetworkPrinter, TakesTheSameStreamAsASerialPrinter)
{
    start();
    const QStringList paths{picture(512, 256, 1), picture(90, 90, 2), picture(8, 8, 3)};
    QList<QByteArray> records;
    for (const QString &path : paths)
        records << recordOf(path);

    const ProgramRun upload =
        runOrvane(QStringList{"upload", "--port", "tcp://" + address, "--yes"} + paths);
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    const ProgramRun print = runOrvane({"print", "--port", address, "--baud", "not used"});
    EXPECT_EQ(print.exitCode, 0) << print.err.toStdString();

    const QByteArray expected = uploadStream(records) + printStream();
    EXPECT_EQ(printer.streamOfSize(expected.size()), expected);
    EXPECT_TRUE(printer.waitForLog("FS p: printed NV image 3 as print-0003-nv03.png"))
        << printer.log().toStdString();
}

TEST_F(NetworkPrinter, RefusedOrBusyPrintersAreToldApart)
{
    // A port nobody listens on: the connection is refused.
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 closedPort = closed.serverPort();
    const QString closedAddress = QStringLiteral("127.0.0.1:%1").arg(closedPort);
    closed.close();
    const ProgramRun refused = runOrvane({"erase", "--port", "tcp://" + closedAddress});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains(LinkTexts::refused(closedAddress, closedPort)))
        << refused.err.toStdString();

    // A printer that serves someone else drops the next connection at once.
    start();
    QTcpSocket other;
    other.connectToHost(QHostAddress::LocalHost, address.section(':', 1).toUShort());
    ASSERT_TRUE(other.waitForConnected(10000));
    for (const QString command : {"erase", "status"}) {
        const ProgramRun busy = runOrvane({command, "--port", address});
        EXPECT_EQ(busy.exitCode, 1) << command.toStdString();
        // Only a job has something that was not sent.
        const bool job = command == "erase";
        EXPECT_TRUE(busy.err.contains(TransferTexts::printerBusy(LinkTexts::closed(address), job)))
            << busy.err.toStdString();
        EXPECT_FALSE(busy.err.contains(TransferTexts::Done)) << busy.err.toStdString();
    }
    EXPECT_TRUE(printer.stream().isEmpty());

    other.disconnectFromHost();
    ASSERT_TRUE(other.state() == QAbstractSocket::UnconnectedState ||
                other.waitForDisconnected(10000));
    const ProgramRun served = runOrvane({"erase", "--port", address});
    EXPECT_EQ(served.exitCode, 0) << served.err.toStdString();
    EXPECT_EQ(printer.streamOfSize(EraseStream.size()), EraseStream);
}

TEST_F(NetworkPrinter, APrinterThatClosesMidUploadFailsIt)
{
    start({"--baud", "9600"});
    QProcess upload;
    startOrvane(upload, QStringList{"upload", "--port", address, "--yes"} +
                            QStringList(8, picture(512, 256, 4)));
    ASSERT_TRUE(waitFor([&] { return printer.stream().size() > 100; }));
    EXPECT_EQ(printer.stop(), 0);

    ASSERT_TRUE(upload.waitForFinished(10000));
    EXPECT_EQ(upload.exitCode(), 1);
    const QString err = QString::fromUtf8(upload.readAllStandardError());
    EXPECT_TRUE(err.contains(LinkTexts::closed(address))) << err.toStdString();
    EXPECT_FALSE(err.contains(TransferTexts::Done)) << err.toStdString();
}

TEST_F(NetworkPrinter, ASlowReaderIsDoneOnlyOnceItHasReadTheWholeJob)
{
    // 49 KB at 11.5 KB a second: the kernel takes it all at once, the printer reads for 4 s, and
    // only its answer to the last question, which comes after every byte, ends the job.
    start({"--baud", "115200"});
    const QStringList paths{picture(512, 256, 5), picture(512, 256, 6), picture(512, 256, 7)};
    const ProgramRun upload = runOrvane(QStringList{"upload", "--port", address, "--yes"} + paths);
    EXPECT_EQ(upload.exitCode, 0) << upload.err.toStdString();
    const QByteArray expected =
        uploadStream({recordOf(paths[0]), recordOf(paths[1]), recordOf(paths[2])});
    EXPECT_GE(printer.stream().size(), expected.size() - DeliveryQuestion.size());
    EXPECT_EQ(printer.streamOfSize(expected.size(), 30000), expected);
    EXPECT_TRUE(printer.waitForLog("FS q: stored 3 NV images")) << printer.log().toStdString();
}

} // namespace
