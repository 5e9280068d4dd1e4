#include "LinkCommand.h"
#include "CapacityStatus.h"
#include "CliParsing.h"
#include "CliTexts.h"
#include "ConversionOptions.h"
#include "FleetCommand.h"
#include "GraphicsCommands.h"
#include "IdentityLines.h"
#include "ImageTotal.h"
#include "PortLink.h"
#include "PortsFile.h"
#include "PrinterCommands.h"
#include "RasterGeometry.h"
#include "RepeatedPorts.h"
#include "SerialControlFactory.h"
#include "Subcommands.h"
#include "TerminalHost.h"
#include "TransferOperations.h"
#include "TransferTexts.h"
#include "modBitmap.h"

#include <limits>
#include <optional>
#include <variant>

namespace {

struct LinkOptions
{
    QString port;
    QString rate;
    bool assumeYes = false;
    QList<ListedPicture> pictures;
    NvCommandSet set = NvCommandSet::BitImage;
    // Set when the job runs on many printers (many ports, a file of ports, or JSON wanted).
    std::optional<FleetJob> fleet;
};

constexpr int DefaultJobs = 8;
constexpr int MaxJobs = 64;

std::optional<NvCommandSet> commandSetNamed(const QString &name)
{
    if (name == QLatin1String("bit-image"))
        return NvCommandSet::BitImage;
    if (name == QLatin1String("graphics"))
        return NvCommandSet::Graphics;
    return std::nullopt;
}

std::variant<int, LinkOptions> parseLinkOptions(LinkCommand command, const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("The printer's port (COM1:, /dev/ttyUSB0, tcp://HOST:9100, queue:NAME, "
                       "...); may be given many times."),
        QStringLiteral("PORT"));
    const QCommandLineOption portsFile(
        QStringLiteral("ports"),
        QStringLiteral("Read the ports from FILE, one a line, or the lines discover --json "
                       "writes; blank lines and # comments are skipped."),
        QStringLiteral("FILE"));
    const QCommandLineOption jobs(
        QStringLiteral("jobs"),
        QStringLiteral("Serve at most N printers at once (1 to %1, default %2).")
            .arg(MaxJobs)
            .arg(DefaultJobs),
        QStringLiteral("N"), QString::number(DefaultJobs));
    const QCommandLineOption json(
        QStringLiteral("json"),
        QStringLiteral("Write one JSON object per printer instead of the table."));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Rate of a serial port (default 9600)."),
                                  QStringLiteral("RATE"), QStringLiteral("9600"));
    const QCommandLineOption yes(
        QStringLiteral("yes"),
        QStringLiteral("Do not wait for Enter at the reset prompt, and confirm that an NV graphics "
                       "upload to a printer that cannot answer deletes the graphics it stores."));
    const QCommandLineOption nv(
        QStringLiteral("nv"),
        QStringLiteral("The printer's store: bit-image (FS q, numbered NV images; the default) "
                       "or graphics (GS ( L, NV graphics kept by key)."),
        QStringLiteral("SET"), QStringLiteral("bit-image"));
    parser.addOption(port);
    parser.addOption(portsFile);
    parser.addOption(jobs);
    parser.addOption(json);
    parser.addOption(baud);
    if (command != LinkCommand::Status)
        parser.addOption(nv);
    qsizetype minPictures = 0;
    qsizetype maxPictures = 0;
    switch (command) {
    case LinkCommand::Upload:
        parser.setApplicationDescription(
            QStringLiteral("Stores the pictures in the printer as NV images 1 to n, or with --nv "
                           "graphics as NV graphics under the keys 01 to n in hexadecimal, and "
                           "checks with a printer that answers that they fit and were stored."));
        parser.addOption(yes);
        addConversionOptions(parser);
        parser.addPositionalArgument(QStringLiteral("PICTURE..."),
                                     QStringLiteral("The pictures, in the order to store them."));
        minPictures = 1;
        maxPictures = std::numeric_limits<qsizetype>::max();
        break;
    case LinkCommand::Erase:
        parser.setApplicationDescription(QStringLiteral(
            "Erases the printer's NV images, or with --nv graphics its NV graphics."));
        break;
    case LinkCommand::Print:
        parser.setApplicationDescription(
            QStringLiteral("Prints NV images 1 to 255, or with --nv graphics every NV graphic the "
                           "printer lists (keys 01 to FF when it does not answer)."));
        break;
    case LinkCommand::Status:
        parser.setApplicationDescription(
            QStringLiteral("Prints who the printer is (model, serial number, maker, firmware) "
                           "and how it is, one line per condition, then its NV graphics "
                           "capacity, free bytes and stored keys when it tells them. Exits 0 "
                           "when it is ready, 3 when it is not, 1 when it did not answer."));
        break;
    }
    if (auto stop = parseArguments(parser, arguments, minPictures, maxPictures))
        return *stop;
    QStringList ports = parser.values(port);
    if (parser.isSet(portsFile)) {
        const PortsFile read = readPortsFile(parser.value(portsFile));
        for (const QString &skipped : read.skipped)
            errorStream() << "orvane: " << skipped << Qt::endl;
        if (!read.error.isEmpty())
            return usageFault(read.error);
        ports += read.ports;
    }
    if (ports.isEmpty())
        return usageFault(CliTexts::PortMissing);
    if (const QString repeated = repeatedPortFault(ports); !repeated.isEmpty())
        return usageFault(repeated);
    bool jobsOk = false;
    const int jobCount = parser.value(jobs).toInt(&jobsOk);
    if (!jobsOk || jobCount < 1 || jobCount > MaxJobs)
        return usageFault(CliTexts::BadJobs.arg(1).arg(MaxJobs).arg(parser.value(jobs)));
    LinkOptions options{ports.front(),
                        parser.value(baud),
                        command == LinkCommand::Upload && parser.isSet(yes),
                        {},
                        NvCommandSet::BitImage,
                        {}};
    if (ports.size() > 1 || parser.isSet(portsFile) || parser.isSet(json)) {
        if (command == LinkCommand::Upload && ports.size() > 1 && !options.assumeYes)
            return usageFault(CliTexts::FleetNeedsYes);
        options.fleet = FleetJob{command,
                                 ports,
                                 options.rate,
                                 jobCount,
                                 parser.isSet(json),
                                 options.assumeYes,
                                 NvCommandSet::BitImage,
                                 {},
                                 0};
    }
    if (command != LinkCommand::Status) {
        const std::optional<NvCommandSet> set = commandSetNamed(parser.value(nv));
        if (!set)
            return usageFault(CliTexts::BadNv.arg(parser.value(nv)));
        options.set = *set;
    }
    if (command == LinkCommand::Upload) {
        const auto choices = conversionChoices(parser);
        if (!choices)
            return ExitUsage;
        for (const QString &path : parser.positionalArguments())
            options.pictures.append({path, *choices});
    }
    return options;
}

// The same capacity check the window makes before it enables Upload.
std::optional<qint64> checkCapacity(const QList<ListedPicture> &pictures, NvCommandSet set)
{
    const ImageTotal total = totalRasterSize(pictures);
    if (!total.unreadable.isEmpty()) {
        for (const QString &path : total.unreadable)
            errorStream() << "orvane: " << modBitmap::RasterSize(path).error << Qt::endl;
        return std::nullopt;
    }
    for (const QString &tooTall : total.tooTall)
        errorStream() << "orvane: " << CliTexts::UploadRefused.arg(tooTall) << Qt::endl;
    const bool graphics = set == NvCommandSet::Graphics;
    const int count = int(pictures.size());
    // The bit-image store's 2M rule; NV graphics fit as the printer says at upload.
    const CapacityStatus status =
        graphics ? graphicsCapacityStatus(total.total, count, total.tooTall.size())
                 : capacityStatus(total.total, count, total.tooTall.size());
    if (!status.uploadEnabled) {
        if (total.tooTall.isEmpty()) {
            QString refusal = status.sizeNotify.text;
            if (!graphics && total.total > CapacityLimit)
                refusal = CliTexts::StoreOverflow.arg(refusal).arg(total.total).arg(CapacityLimit);
            errorStream() << "orvane: " << CliTexts::UploadRefused.arg(refusal) << Qt::endl;
        }
        return std::nullopt;
    }
    qint64 streamBytes =
        graphics ? deleteAllGraphics().size() : uploadHeader(1)->size() + finishCommand().size();
    for (const ListedPicture &picture : pictures) {
        const modBitmap::RasterExtent extent =
            modBitmap::RasterSize(picture.path, picture.choices.widthDots,
                                  picture.choices.rotationDegrees)
                .extent;
        streamBytes += graphics ? defineGraphicSize(extent.X * 8, extent.Y * 8)
                                : modBitmap::recordSize(extent, picture.choices.widthDots);
    }
    return streamBytes;
}

// What an erase or a print did, in the command line's words.
QString outcomeText(LinkCommand command, const LinkOptions &options, const JobFacts &facts)
{
    const bool graphics = options.set == NvCommandSet::Graphics;
    if (command == LinkCommand::Erase)
        return (graphics ? CliTexts::ErasedGraphics : CliTexts::Erased).arg(options.port);
    if (!graphics)
        return CliTexts::Printed.arg(options.port);
    if (!facts.printedKeys)
        return CliTexts::PrintedEveryKey.arg(options.port);
    if (facts.printedKeys->isEmpty())
        return CliTexts::NoGraphicsToPrint.arg(options.port);
    QStringList keys;
    for (const QByteArray &key : *facts.printedKeys)
        keys << QString::fromLatin1(key);
    return CliTexts::PrintedGraphics.arg(keys.join(QStringLiteral(", ")), options.port);
}

// A fresh link fails without a reason only for a text that names no port.
int portNotOpened(const QString &port, const PortLink &link)
{
    errorStream() << "orvane: " << TransferTexts::linkNotOpened(port, link.errorText()) << Qt::endl;
    return ExitFailure;
}

int reportStatus(TransferOperations &transfer, const PortLink &link, const LinkOptions &options)
{
    const StatusReport report = transfer.status(options.port, options.rate);
    switch (report.outcome) {
    case TransferOutcome::NotOpened:
        return portNotOpened(options.port, link);
    case TransferOutcome::Succeeded:
        break;
    case TransferOutcome::Refused:
    case TransferOutcome::Failed:
        errorStream() << "orvane: " << report.message << Qt::endl;
        return ExitFailure;
    }
    QTextStream out(stdout);
    for (const auto &[label, text] : identityLines(report.identity))
        out << label << ": " << text << '\n';
    if (report.status.ready())
        out << CliTexts::Ready << '\n';
    for (const QString &condition : TransferTexts::conditions(report.status))
        out << condition << '\n';
    const GraphicsStoreStatus &graphics = report.graphics;
    if (graphics.capacity && graphics.free)
        out << CliTexts::GraphicsStore.arg(*graphics.capacity).arg(*graphics.free) << '\n';
    if (graphics.keys) {
        QStringList keys;
        for (const QByteArray &key : *graphics.keys)
            keys << QString::fromLatin1(key);
        out << CliTexts::GraphicsKeys.arg(keys.isEmpty() ? CliTexts::NoKeys
                                                         : keys.join(QLatin1Char(' ')))
            << '\n';
    }
    return report.status.ready() ? ExitOk : ExitNotReady;
}

} // namespace

int runLinkCommand(LinkCommand command, const QStringList &arguments)
{
    const auto parsed = parseLinkOptions(command, arguments);
    if (const int *exitCode = std::get_if<int>(&parsed))
        return *exitCode;
    const LinkOptions &options = std::get<LinkOptions>(parsed);

    qint64 streamBytes = 0;
    switch (command) {
    case LinkCommand::Upload: {
        const auto checked = checkCapacity(options.pictures, options.set);
        if (!checked)
            return ExitFailure;
        streamBytes = *checked;
        break;
    }
    case LinkCommand::Erase:
        streamBytes = options.set == NvCommandSet::Graphics
                          ? deleteAllGraphics().size()
                          : eraseCommand().size() + finishCommand().size();
        break;
    case LinkCommand::Print:
        streamBytes = MaxUploadPictures * (options.set == NvCommandSet::Graphics
                                               ? printGraphic(graphicKey(1)).size()
                                               : printCommand(1).size());
        break;
    case LinkCommand::Status:
        break;
    }
    if (options.fleet) {
        FleetJob fleet = *options.fleet;
        fleet.set = options.set;
        fleet.pictures = options.pictures;
        fleet.streamBytes = streamBytes;
        return runFleet(fleet);
    }

    const std::unique_ptr<SerialControl> serial = makeSerialControl();
    PortLink link(*serial);
    TerminalHost host(options.assumeYes, streamBytes);
    if (command != LinkCommand::Upload)
        host.leaveOutDoneBox();
    TransferOperations transfer(link, host);
    if (command == LinkCommand::Status)
        return reportStatus(transfer, link, options);
    const TransferResult result =
        command == LinkCommand::Upload
            ? transfer.upload(options.pictures, options.port, options.rate, options.set)
        : command == LinkCommand::Erase ? transfer.erase(options.port, options.rate, options.set)
                                        : transfer.print(options.port, options.rate, options.set);
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
        if (command != LinkCommand::Upload)
            errorStream() << outcomeText(command, options, transfer.facts()) << Qt::endl;
        return ExitOk;
    case TransferOutcome::NotOpened:
        return portNotOpened(options.port, link);
    case TransferOutcome::Refused:
    case TransferOutcome::Failed:
        // The window does not report a stop; a script must learn of it all the same.
        if (!host.errorShown() && !result.message.isEmpty())
            errorStream() << "orvane: " << result.message << Qt::endl;
        break;
    }
    return ExitFailure;
}
