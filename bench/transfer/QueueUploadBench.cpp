// Times an upload of 2 MB of records through a private CUPS scheduler to the virtual printer
// against the same bytes sent straight over TCP to the same printer, and the scheduler's fixed
// delay per job: an 8-byte job through the queue against the same job over TCP.
//
// usage: bench_queue_upload [RUNS]   (default 5; medians are printed)

#include "PrivateScheduler.h"
#include "UploadBench.h"
#include "VirtualPrinterProcess.h"

#include <QCoreApplication>
#include <QTemporaryDir>

#include <cstdio>

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, atoi(argv[1])) : 5;
    QTemporaryDir dir;
    PrivateScheduler scheduler;
    VirtualPrinterProcess printer(QStringLiteral(VIRTUAL_PRINTER_EXE));
    if (!scheduler.start() || !printer.start(dir.filePath("out"), {"--tcp", "0"}) ||
        !scheduler.addQueue("bench", "socket://" + printer.address())) {
        std::fprintf(stderr, "no scheduler or printer: %s\n", qPrintable(scheduler.why()));
        return 1;
    }
    qputenv("CUPS_SERVER", scheduler.server().toUtf8());
    const QString queue = QStringLiteral("queue:bench");
    const QString tcp = "tcp://" + printer.address();
    const QList<QByteArray> all = records();

    std::vector<double> viaQueue, direct, smallViaQueue, smallDirect;
    for (int run = 0; run < runs; ++run) {
        const double values[] = {orvaneUpload(queue, all), orvaneUpload(tcp, all),
                                 orvaneUpload(queue, {}), orvaneUpload(tcp, {})};
        if (*std::min_element(std::begin(values), std::end(values)) < 0) {
            std::fprintf(stderr, "run %d failed\n", run);
            return 1;
        }
        viaQueue.push_back(values[0]);
        direct.push_back(values[1]);
        smallViaQueue.push_back(values[2]);
        smallDirect.push_back(values[3]);
    }
    std::printf("upload of %d records (%d bytes each), median of %d runs:\n", Records, RecordBytes,
                runs);
    std::printf("  through the queue %.1f ms, straight over TCP %.1f ms, ratio %.2f\n",
                median(viaQueue), median(direct), median(viaQueue) / median(direct));
    std::printf("8-byte job: through the queue %.1f ms, over TCP %.1f ms: the scheduler adds "
                "%.1f ms per job\n",
                median(smallViaQueue), median(smallDirect),
                median(smallViaQueue) - median(smallDirect));
    return 0;
}
