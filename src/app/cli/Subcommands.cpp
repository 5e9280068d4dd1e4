#include "Subcommands.h"
#include "CliParsing.h"
#include "CliTexts.h"
#include "ConversionOptions.h"
#include "DiscoverCommand.h"
#include "LinkCommand.h"
#include "ListedPorts.h"
#include "OutputFile.h"
#include "RasterPreview.h"
#include "modBitmap.h"

#include <QBuffer>
#include <QFileInfo>
#include <QImageWriter>
#include <QMimeDatabase>
#include <QTextStream>

#include <array>
#include <optional>

namespace {

const QCommandLineOption outputOption({QStringLiteral("o"), QStringLiteral("output")},
                                      QStringLiteral("Write to FILE; - is standard output."),
                                      QStringLiteral("FILE"));

int ports(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Lists the ports as the port box does."));
    if (auto stop = parseArguments(parser, arguments, 0, 0))
        return *stop;
    const QStringList found = listedPorts();
    if (found.isEmpty())
        errorStream() << "orvane: " << CliTexts::NoPorts << Qt::endl;
    QTextStream out(stdout);
    for (const QString &port : found)
        out << port << '\n';
    return ExitOk;
}

// Converts the one picture argument, or says why not.
std::optional<QByteArray> pictureRecord(QCommandLineParser &parser,
                                        const modBitmap::ConversionChoices &choices)
{
    const auto result = modBitmap::BitmapToRaster(parser.positionalArguments().first(), choices);
    if (!result.ok()) {
        errorStream() << "orvane: " << result.error << Qt::endl;
        return std::nullopt;
    }
    return result.record;
}

// The picture format a preview's FILE asks for by its ending; PNG when the ending names no
// picture type (or for standard output), nothing when no image writer knows the one it names.
std::optional<QByteArray> previewFormat(const QString &target)
{
    const QMimeType type = QMimeDatabase().mimeTypeForFile(target, QMimeDatabase::MatchExtension);
    if (target == QLatin1String("-") || !type.name().startsWith(QLatin1String("image/")))
        return QByteArray("png");
    const QList<QByteArray> formats = QImageWriter::imageFormatsForMimeType(type.name().toLatin1());
    if (formats.isEmpty())
        return std::nullopt;
    return formats.front();
}

int pictureCommand(const QStringList &arguments, const QString &description, bool preview)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(description);
    parser.addOption(outputOption);
    addConversionOptions(parser);
    parser.addPositionalArgument(QStringLiteral("PICTURE"), QStringLiteral("The picture file."));
    if (auto stop = parseArguments(parser, arguments, 1, 1))
        return *stop;
    if (!parser.isSet(outputOption))
        return usageFault(QStringLiteral("-o FILE is missing"));
    const QString target = parser.value(outputOption);
    const std::optional<QByteArray> format = previewFormat(target);
    if (preview && !format) {
        QStringList formats;
        for (const QByteArray &known : QImageWriter::supportedImageFormats())
            formats << QString::fromLatin1(known);
        return usageFault(CliTexts::BadOutputFormat.arg(formats.join(QStringLiteral(", ")),
                                                        QFileInfo(target).fileName()));
    }
    const auto choices = conversionChoices(parser);
    if (!choices)
        return ExitUsage;
    const auto record = pictureRecord(parser, *choices);
    if (!record)
        return ExitFailure;
    // Encoded whole before the file is touched, so a failing disk is told by the file alone.
    QByteArray output = preview ? QByteArray() : *record;
    if (preview) {
        QBuffer encoded(&output);
        encoded.open(QIODevice::WriteOnly);
        QImageWriter writer(&encoded, *format);
        if (!writer.write(rasterRecordToImage(*record))) {
            errorStream() << "orvane: " << CliTexts::CannotWrite.arg(target, writer.errorString())
                          << Qt::endl;
            return ExitFailure;
        }
    }
    if (const QString failure = writeOutputFile(target, output); !failure.isEmpty()) {
        errorStream() << "orvane: " << CliTexts::CannotWrite.arg(target, failure) << Qt::endl;
        return ExitFailure;
    }
    return ExitOk;
}

int raster(const QStringList &arguments)
{
    return pictureCommand(
        arguments, QStringLiteral("Writes the raster record an upload sends for PICTURE."), false);
}

int preview(const QStringList &arguments)
{
    return pictureCommand(
        arguments,
        QStringLiteral("Writes a picture of how the printer prints PICTURE, in the "
                       "picture format FILE's ending names (else PNG)."),
        true);
}

int upload(const QStringList &arguments)
{
    return runLinkCommand(LinkCommand::Upload, arguments);
}

int erase(const QStringList &arguments)
{
    return runLinkCommand(LinkCommand::Erase, arguments);
}

int print(const QStringList &arguments)
{
    return runLinkCommand(LinkCommand::Print, arguments);
}

int status(const QStringList &arguments)
{
    return runLinkCommand(LinkCommand::Status, arguments);
}

int discover(const QStringList &arguments)
{
    return runDiscover(arguments);
}

const std::array<Subcommand, 8> subcommands{{
    {QStringLiteral("ports"), ports},
    {QStringLiteral("raster"), raster},
    {QStringLiteral("preview"), preview},
    {QStringLiteral("upload"), upload},
    {QStringLiteral("erase"), erase},
    {QStringLiteral("print"), print},
    {QStringLiteral("status"), status},
    {QStringLiteral("discover"), discover},
}};

} // namespace

const Subcommand *findSubcommand(const QString &name)
{
    for (const Subcommand &subcommand : subcommands) {
        if (subcommand.name == name)
            return &subcommand;
    }
    return nullptr;
}
