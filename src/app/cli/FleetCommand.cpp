#include "FleetCommand.h"

#include "CliParsing.h"
#include "FleetHost.h"
#include "FleetLines.h"
#include "FleetReport.h"
#include "FleetTexts.h"
#include "PictureConversion.h"
#include "PortLink.h"
#include "PrinterPool.h"
#include "SerialControlFactory.h"
#include "StopSignals.h"
#include "Subcommands.h"
#include "TerminalHost.h"
#include "Terminal.h"
#include "TransferTexts.h"

#include <QElapsedTimer>

#include <vector>

namespace {

// Exactly the job one printer gets from a single --port, on the calling thread.
PrinterRun runOnePrinter(const FleetJob &job, const ConvertedPictures &pictures,
                         const QString &port, PrinterProgress &progress)
{
    QElapsedTimer clock;
    clock.start();
    progress.set(FleetTexts::Running);
    const std::unique_ptr<SerialControl> serial = makeSerialControl();
    PortLink link(*serial);
    FleetHost host(progress, job.streamBytes, job.assumeYes);
    TransferOperations transfer(link, host);
    transfer.setIdentityWanted(true);
    TransferResult ended;
    switch (job.command) {
    case LinkCommand::Upload:
        ended = transfer.upload(job.pictures, pictures, port, job.rate, job.set);
        break;
    case LinkCommand::Erase:
        ended = transfer.erase(port, job.rate, job.set);
        break;
    case LinkCommand::Print:
        ended = transfer.print(port, job.rate, job.set);
        break;
    case LinkCommand::Status: {
        const StatusReport report = transfer.status(port, job.rate);
        ended = {report.outcome, report.message};
        break;
    }
    }
    if (ended.outcome == TransferOutcome::NotOpened)
        ended.message = TransferTexts::linkNotOpened(port, link.errorText());
    PrinterRun run = printerRun(job.command, port, ended.outcome, ended.message, transfer.facts(),
                                ended.stopped);
    run.seconds = double(clock.nsecsElapsed()) / 1e9;
    progress.set(fleetResultText(run));
    return run;
}

} // namespace

int runFleet(const FleetJob &job)
{
    catchStopSignals();
    const qsizetype count = job.ports.size();
    std::vector<PrinterProgress> progress(count);
    for (PrinterProgress &printer : progress)
        printer.set(FleetTexts::Waiting);

    ConvertedPictures pictures;
    if (job.command == LinkCommand::Upload) {
        FleetHost converting(progress.front(), 0);
        pictures = convertPictures(job.pictures, converting);
        if (!pictures.error.isEmpty()) {
            errorStream() << "orvane: " << pictures.error << Qt::endl;
            return ExitFailure;
        }
    }

    // Asked here, before any printer starts: a job's thread cannot hear Ctrl-C at a prompt, and
    // the printers' lines would draw over it. Without --yes there is only one printer.
    if (job.command == LinkCommand::Upload && job.set == NvCommandSet::BitImage && !job.assumeYes &&
        !pictures.stopped)
        waitAtPrompt(TransferTexts::ResetTitle, TransferTexts::ResetPrompt);

    std::vector<PrinterRun> runs;
    for (const QString &port : job.ports)
        runs.push_back({port, FleetResult::NotStarted, {}, {}, 0});
    FleetLines lines(job.ports, progress);
    if (!pictures.stopped) {
        runPrinterPool(
            int(count), job.jobs,
            [&](int index) {
                runs[index] = runOnePrinter(job, pictures, job.ports[index], progress[index]);
            },
            stopSignalled, [&lines] { lines.update(); });
    }

    const QList<PrinterRun> ended(runs.begin(), runs.end());
    QTextStream out(stdout);
    out << (job.json ? fleetJson(ended) : fleetTable(ended, outputColumns(stdout)));
    out.flush();
    return stopSignalled() ? ExitFailure : fleetExitCode(job.command, ended);
}
