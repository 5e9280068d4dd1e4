// Times an upload of 2 MB of records over TCP to the virtual printer against socat sending the
// same bytes to the same printer, and the time the status questions add before the first job
// byte on a printer that answers and on one that stays silent.
//
// usage: bench_network_upload [RUNS]   (default 7; medians are printed)

#include "StatusInquiry.h"
#include "UploadBench.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// The virtual printer on a TCP port; its address once it serves.
struct Printer
{
    QProcess process;
    QString address;

    bool start(const QString &outDir, const QStringList &options = {})
    {
        process.start(QStringLiteral(VIRTUAL_PRINTER_EXE),
                      QStringList{"--out", outDir, "--tcp", "0"} + options);
        if (!process.waitForReadyRead(10000))
            return false;
        address = QString::fromUtf8(process.readLine()).trimmed();
        return !address.isEmpty();
    }
    ~Printer()
    {
        process.terminate();
        process.waitForFinished(10000);
    }
};

// socat ends once the printer closes its side, as the link's close waits for it.
double socatUpload(const QString &address, const QString &streamFile)
{
    QProcess socat;
    socat.setStandardInputFile(streamFile);
    socat.setStandardOutputFile(QProcess::nullDevice());
    QElapsedTimer clock;
    clock.start();
    socat.start(QStringLiteral("socat"), {"-t", "5", "-", "TCP:" + address});
    if (!socat.waitForFinished(60000) || socat.exitCode() != 0)
        return -1;
    return clock.nsecsElapsed() / 1e6;
}

// From the open link to the moment the first job byte may go.
double statusQuestions(const QString &port)
{
    const std::unique_ptr<SerialControl> serial = makeSerialControl();
    PortLink link(*serial, [](const QString &) {});
    QuietHost host;
    Transmitter transmitter(link, host);
    if (!link.OpenPort(port, {}))
        return -1;
    QElapsedTimer clock;
    clock.start();
    const StatusReply reply = inquireStatus(transmitter, TransferLimits{});
    const double ms = clock.nsecsElapsed() / 1e6;
    link.ClosePort(port);
    return reply.outcome == StatusReply::Outcome::Failed ? -1 : ms;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 7;
    QTemporaryDir dir;
    const QList<QByteArray> all = records();
    QByteArray stream = *uploadHeader(Records);
    for (const QByteArray &record : all)
        stream += record;
    stream += finishCommand();
    const QString streamFile = dir.filePath("stream.bin");
    QFile file(streamFile);
    if (!file.open(QIODevice::WriteOnly) || file.write(stream) != stream.size())
        return 1;
    file.close();

    std::vector<double> orvane, socat, answering, silent;
    for (int run = 0; run < runs; ++run) {
        Printer printer;
        Printer quiet;
        if (!printer.start(dir.filePath(QStringLiteral("out-%1").arg(run))) ||
            !quiet.start(dir.filePath(QStringLiteral("quiet-%1").arg(run)), {"--silent"}))
            return 1;
        const QString port = "tcp://" + printer.address;
        // Alternating which goes first keeps a warm-up from favouring either.
        const double a =
            run % 2 ? orvaneUpload(port, all) : socatUpload(printer.address, streamFile);
        const double b =
            run % 2 ? socatUpload(printer.address, streamFile) : orvaneUpload(port, all);
        const double o = run % 2 ? a : b;
        const double s = run % 2 ? b : a;
        const double q = statusQuestions(port);
        const double z = statusQuestions("tcp://" + quiet.address);
        if (o < 0 || s < 0 || q < 0 || z < 0) {
            std::fprintf(stderr, "run %d failed\n", run);
            return 1;
        }
        orvane.push_back(o);
        socat.push_back(s);
        answering.push_back(q);
        silent.push_back(z);
    }
    std::printf("upload of %lld bytes over TCP, median of %d runs:\n", qint64(stream.size()), runs);
    std::printf("  orvane %.1f ms, socat %.1f ms, ratio %.2f (target <= 1.10)\n", median(orvane),
                median(socat), median(orvane) / median(socat));
    std::printf("status questions before the first job byte: answering printer %.2f ms, "
                "silent printer %.1f ms (target <= 300)\n",
                median(answering), median(silent));
    return 0;
}
