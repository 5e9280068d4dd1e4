#include "CliHarness.h"

#include "CliTexts.h"
#include "FleetReport.h"
#include "GraphicDots.h"
#include "GraphicsCommands.h"
#include "LinkTexts.h"
#include "TransferTexts.h"
#include "modBitmap.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>

#include <csignal>
#include <memory>

namespace {

const QByteArray StoreQuestions =
    QByteArray::fromHex("1D284C020030 30 1D284C020030 33 1D284C040030404B43 06");

// A port on a loopback address that refuses connections.
QString refusedPort(const QHostAddress &address)
{
    QTcpServer closed;
    EXPECT_TRUE(closed.listen(address));
    return QStringLiteral("tcp://%1:%2").arg(address.toString()).arg(closed.serverPort());
}

// Virtual printers on TCP ports of loopback addresses, and a folder for files.
class CliFleet : public ::testing::Test
{
protected:
    // Starts a printer on 127.0.0.N with the options; gives its port text.
    QString start(int n, const QStringList &options)
    {
        auto printer = std::make_unique<VirtualPrinterProcess>(QStringLiteral(VIRTUAL_PRINTER_EXE));
        const QStringList all =
            QStringList{"--tcp", "0", "--address", QStringLiteral("127.0.0.%1").arg(n)} + options;
        EXPECT_TRUE(printer->start(m_dir.filePath(QStringLiteral("p%1").arg(n)), all));
        printers.push_back(std::move(printer));
        return "tcp://" + printers.back()->address();
    }
    QString file(const QString &name, const QByteArray &contents)
    {
        QFile out(m_dir.filePath(name));
        EXPECT_TRUE(out.open(QIODevice::WriteOnly));
        out.write(contents);
        return out.fileName();
    }
    QString picture(const QString &name, int width, int height, unsigned seed)
    {
        const QString path = m_dir.filePath(name);
        EXPECT_TRUE(noisePicture(width, height, seed).save(path));
        return path;
    }

    std::vector<std::unique_ptr<VirtualPrinterProcess>> printers;

private:
    QTemporaryDir m_dir;
};

QByteArray defineOf(const QString &path, int picture)
{
    const modBitmap::RasterRecordResult raster = modBitmap::BitmapToRaster(path);
    const auto dots = modBitmap::graphicDots(raster.record, raster.extent);
    return defineGraphic(graphicKey(picture), raster.extent.X * 8, raster.extent.Y * 8,
                         dots.value())
        .value();
}

TEST_F(CliFleet, EachPrinterGetsItsOwnJobAndItsOwnLineInTheTableAndTheJson)
{
    const QString ready = start(2, {"--model", "TILL-A", "--serial-number", "SN-A"});
    const QString coverOpen = start(3, {"--state", "cover-open"});
    const QString silent = start(4, {"--silent"});
    const QString failing =
        start(5, {"--model", "TILL-B", "--serial-number", "SN-B", "--failing-key", "02"});
    const QString refused = refusedPort(QHostAddress("127.0.0.6"));
    const QString ports = file("ports", ("# the shop\n" + ready + "\n\n  " + coverOpen + "\n" +
                                         silent + "\n# gone\n" + failing + "\n" + refused + "\n")
                                            .toUtf8());
    const QStringList paths{picture("a.png", 64, 32, 1), picture("b.png", 16, 8, 2)};

    const ProgramRun upload = runOrvane(
        QStringList{"upload", "--nv", "graphics", "--yes", "--jobs", "3", "--ports", ports} +
        paths);
    EXPECT_EQ(upload.exitCode, 1) << upload.err.toStdString();
    const QString refusedText = TransferTexts::linkNotOpened(
        refused, LinkTexts::refused(refused.mid(6), refused.section(':', -1).toUShort()));
    const QStringList rows{
        ready + R"(\s+TILL-A\s+SN-A\s+stored and verified)",
        coverOpen + R"(\s+not ready: offline, cover open)",
        silent + R"(\s+stored, not verified)",
        failing + R"(\s+TILL-B\s+SN-B\s+failed: )" +
            QRegularExpression::escape(TransferTexts::graphicsMissing({"02"}, 2)),
        refused + R"(\s+failed: )" + QRegularExpression::escape(refusedText),
    };
    const QStringList lines = upload.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), rows.size() + 1) << upload.out.toStdString();
    EXPECT_TRUE(lines[0].contains(
        QRegularExpression(R"(^port\s+model\s+serial number\s+result\s+seconds$)")));
    for (int row = 0; row < rows.size(); ++row) {
        EXPECT_TRUE(lines[row + 1].contains(QRegularExpression("^" + rows[row] + R"(\s+\d+\.\d$)")))
            << lines[row + 1].toStdString();
    }

    // A silent printer is asked nothing about its store, and its keys are not listed.
    const QByteArray defines = deleteAllGraphics() + defineOf(paths[0], 1) + defineOf(paths[1], 2);
    const QByteArray job = QByteArray::fromHex("1D284C020030 30") + defines + askGraphicKeys() +
                           QByteArray::fromHex("06");
    // Answering printers are asked the process ID first; the key list confirms the upload.
    const QByteArray before = StatusQuestions + IdentityQuestions + ProcessIdQuestion;
    const QList<QByteArray> uploaded{before + job, StatusQuestions, SilentQuestion + defines,
                                     before + job};
    for (int n = 0; n < 4; ++n)
        EXPECT_EQ(printers[n]->streamOfSize(uploaded[n].size()), uploaded[n]) << n;

    const ProgramRun status = runOrvane({"status", "--json", "--port", ready, "--port", coverOpen,
                                         "--port", silent, "--port", refused});
    EXPECT_EQ(status.exitCode, 1) << status.err.toStdString();
    const QStringList objects = status.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(objects.size(), 4) << status.out.toStdString();
    const auto json = [&](int row) {
        QJsonObject object = QJsonDocument::fromJson(objects[row].toUtf8()).object();
        EXPECT_GE(object.take("seconds").toDouble(-1), 0);
        return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact));
    };
    EXPECT_EQ(json(0), R"({"error":null,"identity":{"firmware":"1.00","maker":"Orvane",)"
                       R"("model":"TILL-A","serialNumber":"SN-A"},"port":")" +
                           ready + R"(","result":"ready","states":["ready"],"verifiedKeys":null})");
    EXPECT_EQ(json(1), R"({"error":null,"identity":{},"port":")" + coverOpen +
                           R"(","result":"not-ready","states":["offline","cover open"],)"
                           R"("verifiedKeys":null})");
    EXPECT_EQ(json(2), R"({"error":")" + TransferTexts::noAnswer(std::chrono::milliseconds(300)) +
                           R"(","identity":{},"port":")" + silent +
                           R"(","result":"failed","states":null,"verifiedKeys":null})");
    EXPECT_TRUE(json(3).startsWith(R"({"error":"the link to )" + refused)) << json(3).toStdString();
    const QList<QByteArray> asked{StatusQuestions + IdentityQuestions + StoreQuestions,
                                  StatusQuestions, SilentQuestion};
    for (int n = 0; n < 3; ++n) {
        const QByteArray expected = uploaded[n] + asked[n];
        EXPECT_EQ(printers[n]->streamOfSize(expected.size()), expected) << n;
    }
}

TEST_F(CliFleet, PortsFilesAndOptionsThatCannotServeAreUsageErrors)
{
    const QString picturePath = picture("a.png", 8, 8, 3);
    const QString good = start(7, {});
    const struct
    {
        QStringList arguments;
        QString message;
    } table[] = {
        {{"status", "--ports", "/nonexistent/ports"}, "cannot read /nonexistent/ports"},
        {{"status", "--ports",
          file("bad", QByteArray("# ok\n" + good.toUtf8() + "\n\nprinter-3\n"))},
         "line 4: 'printer-3' names no serial, parallel or network port"},
        {{"status", "--ports", file("empty", "# nothing\n\n")}, "names no port"},
        {{"status", "--port", good, "--jobs", "0"}, "--jobs takes a whole number from 1 to 64"},
        {{"upload", "--port", good, "--port", refusedPort(QHostAddress("127.0.0.7")), picturePath},
         CliTexts::FleetNeedsYes},
        {{"discover", "127.0.0.0/19"}, CliTexts::RangeTooWide.arg("127.0.0.0/19")},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.arguments.join(' ').toStdString());
        const ProgramRun run = runOrvane(row.arguments);
        EXPECT_EQ(run.exitCode, 2);
        EXPECT_TRUE(run.err.contains(row.message)) << run.err.toStdString();
    }
    EXPECT_TRUE(printers.front()->stream().isEmpty());
}

// SIGTERM as Ctrl-C: the running printer's row keeps what it told and says what it may hold.
TEST_F(CliFleet, CtrlCStopsStartingPrintersEndsTheRunningOneAndTellsWhatHappened)
{
    // The first printer takes 5 s to store a graphic; one job at a time.
    const QStringList ports{start(8, {"--store-time", "5", "--model", "TILL"}), start(9, {}),
                            start(10, {})};
    const QString path = picture("small.png", 64, 32, 4);
    QProcess upload;
    startOrvane(upload, QStringList{"upload", "--nv", "graphics", "--yes", "--jobs", "1", "--port",
                                    ports[0], "--port", ports[1], "--port", ports[2], path});
    ASSERT_TRUE(printers[0]->waitForLog("deleted every graphic"));
    ::kill(upload.processId(), SIGTERM);
    ASSERT_TRUE(upload.waitForFinished(10000));
    EXPECT_EQ(upload.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(upload.exitCode(), 1);
    const QStringList lines =
        QString::fromUtf8(upload.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 4) << lines.join('\n').toStdString();
    EXPECT_TRUE(lines[1].contains(QRegularExpression(
        "  TILL  .*" + QRegularExpression::escape(TransferTexts::StoppedInGraphicsUpload))))
        << lines[1].toStdString();
    EXPECT_TRUE(lines[2].startsWith(ports[1] + "  ") && lines[2].contains("not started"));
    EXPECT_TRUE(lines[3].startsWith(ports[2] + "  ") && lines[3].contains("not started"));
    EXPECT_TRUE(printers[1]->stream().isEmpty());
    EXPECT_TRUE(printers[2]->stream().isEmpty());
}

// A printer not started, or not ready for anything but status, fails the run.
TEST(CliFleetExit, OnlyEveryPrinterDoingItsJobExitsZero)
{
    using enum FleetResult;
    const auto exitOf = [](LinkCommand command, FleetResult first, FleetResult second) {
        return fleetExitCode(command, {{{}, first, {}, {}, 0}, {{}, second, {}, {}, 0}});
    };
    EXPECT_EQ(exitOf(LinkCommand::Upload, Verified, NotVerified), 0);
    EXPECT_EQ(exitOf(LinkCommand::Upload, Verified, NotStarted), 1);
    EXPECT_EQ(exitOf(LinkCommand::Erase, NotReady, Done), 1);
    EXPECT_EQ(exitOf(LinkCommand::Status, Ready, NotReady), 3);
}

TEST_F(CliFleet, DiscoveryFindsExactlyTheListeningPrintersAndSendsThemOnlyQuestions)
{
    // One port number on several loopback addresses; a port nobody else takes on 127.0.0.20.
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress("127.0.0.20")));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    for (const int n : {20, 3, 17})
        start(n, {"--tcp", port, "--model", QStringLiteral("M%1").arg(n)});
    start(9, {"--tcp", port, "--silent"});

    const ProgramRun scan = runOrvane({"discover", "127.0.0.0/27", "--port-number", port});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    const QStringList lines = scan.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 5) << scan.out.toStdString();
    EXPECT_TRUE(
        lines[0].contains(QRegularExpression(R"(^address\s+model\s+serial number\s+state$)")));
    EXPECT_TRUE(lines[1].contains(QRegularExpression(R"(^127\.0\.0\.3\s+M3\s+VP000001\s+ready$)")));
    EXPECT_TRUE(lines[2].contains(QRegularExpression(R"(^127\.0\.0\.9\s+failed: )")));
    EXPECT_TRUE(
        lines[3].contains(QRegularExpression(R"(^127\.0\.0\.17\s+M17\s+VP000001\s+ready$)")));
    EXPECT_TRUE(
        lines[4].contains(QRegularExpression(R"(^127\.0\.0\.20\s+M20\s+VP000001\s+ready$)")));

    const ProgramRun one = runOrvane({"discover", "127.0.0.3", "--port-number", port, "--json"});
    EXPECT_EQ(one.out, R"({"address":"127.0.0.3","error":null,"identity":{"firmware":"1.00",)"
                       R"("maker":"Orvane","model":"M3","serialNumber":"VP000001"},"port":)"
                       R"("tcp://127.0.0.3:)" +
                           port +
                           R"(","result":"ready","states":["ready"]})"
                           "\n");
    const QByteArray asked = StatusQuestions + IdentityQuestions;
    for (int n = 0; n < 3; ++n)
        EXPECT_EQ(printers[n]->streamOfSize(asked.size()), n == 1 ? asked + asked : asked) << n;
    EXPECT_EQ(printers[3]->streamOfSize(SilentQuestion.size()), SilentQuestion);
}

// discover --json feeds --ports: a printer busy with another client is listed as such and left
// out with a word, the others serve, a warning shows, and the table fits COLUMNS.
TEST_F(CliFleet, PortsReadsDiscoveryAndTheTableFitsTheTerminal)
{
    QTcpServer probe;
    ASSERT_TRUE(probe.listen(QHostAddress("127.0.0.21")));
    const QString port = QString::number(probe.serverPort());
    probe.close();
    const QString ready = start(21, {"--tcp", port, "--model", "M21"});
    const QString warning = start(22, {"--tcp", port, "--state", "paper-near-end"});
    const QString busy = start(23, {"--tcp", port, "--baud", "1200"});
    QTcpSocket other;
    other.connectToHost(QHostAddress("127.0.0.23"), port.toUShort());
    ASSERT_TRUE(other.waitForConnected(10000));
    other.write(QByteArray(8 * 1024, '\0')); // a minute's reading
    ASSERT_TRUE(other.waitForBytesWritten(10000));

    const ProgramRun scan =
        runOrvane({"discover", "127.0.0.20/30", "--port-number", port, "--json"});
    EXPECT_EQ(scan.exitCode, 0) << scan.err.toStdString();
    const QString busyText = TransferTexts::printerBusy(LinkTexts::closed(busy.mid(6)), false);
    EXPECT_TRUE(scan.out.contains(busyText)) << scan.out.toStdString();
    const QString tills = file("tills.json", scan.out.toUtf8());

    const ProgramRun status = runOrvane({"status", "--ports", tills});
    EXPECT_EQ(status.exitCode, 0) << status.err.toStdString();
    const QString skipped = CliTexts::RowSkipped.arg(tills + ", line 3", busy, busyText);
    EXPECT_TRUE(status.err.startsWith("orvane: " + skipped + "\n")) << status.err.toStdString();
    const QStringList lines = status.out.split('\n', Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 3) << status.out.toStdString();
    EXPECT_TRUE(lines[2].startsWith(warning));
    EXPECT_TRUE(lines[1].contains(QRegularExpression("^" + ready + R"(\s+M21\s.*\sready\s+\d)")));
    EXPECT_TRUE(lines[2].contains(QRegularExpression(R"(\sready \(paper near end\)\s)")));

    // A long reason wraps within its column; piped, it stays on one line.
    const QString refused = refusedPort(QHostAddress("127.0.0.24"));
    const QString refusedText = TransferTexts::linkNotOpened(
        refused, LinkTexts::refused(refused.mid(6), refused.section(':', -1).toUShort()));
    const QStringList both{"status", "--port", refused, "--port", ready};
    QProcessEnvironment narrow = QProcessEnvironment::systemEnvironment();
    narrow.insert("COLUMNS", "100");
    const QStringList rows = runProgram(ORVANE_EXE, both, narrow, 30000).out.split('\n');
    ASSERT_GT(rows.size(), 4) << rows.join('\n').toStdString();
    for (const QString &row : rows)
        EXPECT_LE(row.size(), 100) << row.toStdString();
    // The reason's last line, in the result column, under the refused printer's first.
    const QString end = rows[rows.size() - 3];
    EXPECT_EQ(end.indexOf(end.trimmed()), rows[0].indexOf("result"));
    EXPECT_TRUE(refusedText.endsWith(end.trimmed())) << end.toStdString();
    narrow.remove("COLUMNS");
    EXPECT_EQ(runProgram(ORVANE_EXE, both, narrow, 30000).out.count('\n'), 3);
}

} // namespace
