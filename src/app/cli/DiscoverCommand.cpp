#include "DiscoverCommand.h"

#include "AddressRange.h"
#include "CliParsing.h"
#include "CliTexts.h"
#include "FleetHost.h"
#include "FleetReport.h"
#include "FleetTexts.h"
#include "NetworkAddress.h"
#include "PortLink.h"
#include "PrinterPool.h"
#include "SerialControlFactory.h"
#include "StopSignals.h"
#include "Subcommands.h"
#include "Terminal.h"
#include "TextTable.h"

#include <chrono>
#include <vector>

namespace {

constexpr int DefaultJobs = 64;
constexpr int MaxJobs = 256;
// A printer on the local network accepts well within this; a scan must not crawl.
constexpr std::chrono::milliseconds ConnectLimit(300);

// The printer at portText as status sees it; nothing when the address took no connection.
std::optional<PrinterRun> probe(const QString &portText)
{
    const std::unique_ptr<SerialControl> serial = makeSerialControl();
    PortLink link(*serial);
    link.setConnectLimit(ConnectLimit);
    PrinterProgress progress;
    FleetHost host(progress, 0);
    TransferOperations transfer(link, host);
    const StatusReport report = transfer.status(portText, {}, false);
    if (report.outcome == TransferOutcome::NotOpened)
        return std::nullopt;
    return printerRun(LinkCommand::Status, portText, report.outcome, report.message,
                      transfer.facts());
}

QString rangeProblem(const QString &text)
{
    switch (rangeFaultOf(text)) {
    case RangeFault::TooWide:
        return CliTexts::RangeTooWide.arg(text);
    case RangeFault::IPv6:
        return CliTexts::RangeIsIPv6.arg(text);
    case RangeFault::HostName:
        return CliTexts::RangeIsHostName.arg(text);
    case RangeFault::Malformed:
        break;
    }
    return CliTexts::BadRange.arg(text);
}

} // namespace

int runDiscover(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Tries a TCP connection to each address of RANGE (A.B.C.D/N, N from 20 to 32, or one "
        "address), asks each that accepts how it is and who it is, and prints what answered, "
        "sorted by address. Sends nothing else."));
    const QCommandLineOption portNumber(
        QStringLiteral("port-number"),
        QStringLiteral("The TCP port printers take jobs on (default %1).")
            .arg(NetworkAddress::RawPrintingPort),
        QStringLiteral("PORT"), QString::number(NetworkAddress::RawPrintingPort));
    const QCommandLineOption jobs(
        QStringLiteral("jobs"),
        QStringLiteral("Try at most N addresses at once (1 to %1, default %2).")
            .arg(MaxJobs)
            .arg(DefaultJobs),
        QStringLiteral("N"), QString::number(DefaultJobs));
    const QCommandLineOption json(QStringLiteral("json"),
                                  QStringLiteral("Write one JSON object per printer found."));
    parser.addOptions({portNumber, jobs, json});
    parser.addPositionalArgument(QStringLiteral("RANGE"),
                                 QStringLiteral("The addresses to try: A.B.C.D/N or A.B.C.D."));
    if (auto stop = parseArguments(parser, arguments, 1, 1))
        return *stop;
    const std::optional<AddressRange> range = addressRangeOf(parser.positionalArguments().front());
    bool ok = false;
    const uint port = parser.value(portNumber).toUInt(&ok);
    const bool portOk = ok && port >= 1 && port <= 65535;
    const int jobCount = parser.value(jobs).toInt(&ok);
    const QString problem = !range    ? rangeProblem(parser.positionalArguments().front())
                            : !portOk ? CliTexts::BadPortNumber.arg(parser.value(portNumber))
                            : !ok || jobCount < 1 || jobCount > MaxJobs
                                ? CliTexts::BadJobs.arg(1).arg(MaxJobs).arg(parser.value(jobs))
                                : QString();
    if (!problem.isEmpty())
        return usageFault(problem);

    catchStopSignals();
    std::vector<std::optional<PrinterRun>> found(range->count);
    const auto portText = [&](quint32 index) {
        return NetworkAddress{range->address(index), quint16(port)}.portText();
    };
    runPrinterPool(
        int(range->count), jobCount, [&](int index) { found[index] = probe(portText(index)); },
        stopSignalled, [] {});

    QList<QStringList> rows;
    QString lines;
    for (quint32 index = 0; index < range->count; ++index) {
        const std::optional<PrinterRun> &printer = found[index];
        if (!printer)
            continue;
        rows.append({range->address(index), printer->facts.identity.model,
                     printer->facts.identity.serialNumber, fleetResultText(*printer)});
        QJsonObject object = printerJson(*printer);
        object.remove(QStringLiteral("verifiedKeys"));
        object.remove(QStringLiteral("seconds"));
        object.insert(QStringLiteral("address"), range->address(index));
        lines += jsonLine(object);
    }
    if (rows.isEmpty() && !stopSignalled()) {
        errorStream() << "orvane: "
                      << CliTexts::NothingFound.arg(parser.positionalArguments().front()).arg(port)
                      << Qt::endl;
        return ExitFailure;
    }
    QTextStream out(stdout);
    if (parser.isSet(json))
        out << lines;
    else
        out << textTable(
            {FleetTexts::Address, FleetTexts::Model, FleetTexts::SerialNumber, FleetTexts::State},
            rows, outputColumns(stdout), 3);
    return stopSignalled() ? ExitFailure : ExitOk;
}
