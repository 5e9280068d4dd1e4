#include "LinkCommand.h"
#include "CapacityStatus.h"
#include "CliParsing.h"
#include "CliTexts.h"
#include "ConversionOptions.h"
#include "ImageTotal.h"
#include "PortLink.h"
#include "PrinterCommands.h"
#include "QtSerialControl.h"
#include "RasterGeometry.h"
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
};

std::variant<int, LinkOptions> parseLinkOptions(LinkCommand command, const QStringList &arguments)
{
    QCommandLineParser parser;
    const QCommandLineOption port(
        QStringLiteral("port"),
        QStringLiteral("The printer's port (COM1:, /dev/ttyUSB0, tcp://HOST:9100, ...)."),
        QStringLiteral("PORT"));
    const QCommandLineOption baud(QStringLiteral("baud"),
                                  QStringLiteral("Rate of a serial port (default 9600)."),
                                  QStringLiteral("RATE"), QStringLiteral("9600"));
    const QCommandLineOption yes(QStringLiteral("yes"),
                                 QStringLiteral("Do not wait for Enter at the reset prompt."));
    parser.addOption(port);
    parser.addOption(baud);
    qsizetype minPictures = 0;
    qsizetype maxPictures = 0;
    switch (command) {
    case LinkCommand::Upload:
        parser.setApplicationDescription(
            QStringLiteral("Stores the pictures in the printer as NV images 1 to n."));
        parser.addOption(yes);
        addConversionOptions(parser);
        parser.addPositionalArgument(QStringLiteral("PICTURE..."),
                                     QStringLiteral("The pictures, in the order to store them."));
        minPictures = 1;
        maxPictures = std::numeric_limits<qsizetype>::max();
        break;
    case LinkCommand::Erase:
        parser.setApplicationDescription(QStringLiteral("Erases the printer's NV images."));
        break;
    case LinkCommand::Print:
        parser.setApplicationDescription(QStringLiteral("Prints NV images 1 to 255."));
        break;
    case LinkCommand::Status:
        parser.setApplicationDescription(
            QStringLiteral("Prints how the printer is, one line per condition. Exits 0 when it "
                           "is ready, 3 when it is not, 1 when it did not answer."));
        break;
    }
    if (auto stop = parseArguments(parser, arguments, minPictures, maxPictures))
        return *stop;
    if (!parser.isSet(port)) {
        errorStream() << "orvane: --port PORT is missing\n" << helpText(parser);
        return ExitUsage;
    }
    LinkOptions options{parser.value(port),
                        parser.value(baud),
                        command == LinkCommand::Upload && parser.isSet(yes),
                        {}};
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
std::optional<qint64> checkCapacity(const QList<ListedPicture> &pictures)
{
    const ImageTotal total = totalRasterSize(pictures);
    if (!total.unreadable.isEmpty()) {
        for (const QString &path : total.unreadable)
            errorStream() << "orvane: " << modBitmap::RasterSize(path).error << Qt::endl;
        return std::nullopt;
    }
    const CapacityStatus status = capacityStatus(total.total, int(pictures.size()));
    if (!status.uploadEnabled) {
        errorStream() << "orvane: " << CliTexts::UploadRefused.arg(status.sizeNotify.text)
                      << Qt::endl;
        return std::nullopt;
    }
    qint64 streamBytes = uploadHeader(1)->size() + finishCommand().size();
    for (const ListedPicture &picture : pictures) {
        streamBytes += modBitmap::recordSize(
            modBitmap::RasterSize(picture.path, picture.choices.widthDots).extent);
    }
    return streamBytes;
}

// The window stays silent when the link does not open; a script must learn why. A fresh link
// fails without a reason only for a text that names no port.
int portNotOpened(const QString &port, const PortLink &link)
{
    const QString reason =
        link.errorText().isEmpty() ? CliTexts::NotAPort : QStringLiteral(": ") + link.errorText();
    errorStream() << "orvane: " << CliTexts::PortNotOpened.arg(port, reason) << Qt::endl;
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
    if (report.status.ready())
        out << CliTexts::Ready << '\n';
    for (const QString &condition : TransferTexts::conditions(report.status))
        out << condition << '\n';
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
        const auto checked = checkCapacity(options.pictures);
        if (!checked)
            return ExitFailure;
        streamBytes = *checked;
        break;
    }
    case LinkCommand::Erase:
        streamBytes = eraseCommand().size() + finishCommand().size();
        break;
    case LinkCommand::Print:
        streamBytes = MaxUploadPictures * printCommand(1).size();
        break;
    case LinkCommand::Status:
        break;
    }

    QtSerialControl serial;
    PortLink link(serial);
    TerminalHost host(options.assumeYes, streamBytes);
    TransferOperations transfer(link, host);
    if (command == LinkCommand::Status)
        return reportStatus(transfer, link, options);
    const TransferResult result =
        command == LinkCommand::Upload
            ? transfer.upload(options.pictures, options.port, options.rate)
        : command == LinkCommand::Erase ? transfer.erase(options.port, options.rate)
                                        : transfer.print(options.port, options.rate);
    switch (result.outcome) {
    case TransferOutcome::Succeeded:
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
