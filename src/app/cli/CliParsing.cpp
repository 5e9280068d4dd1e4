#include "CliParsing.h"
#include "Subcommands.h"

QTextStream &errorStream()
{
    static QTextStream stream(stderr);
    return stream;
}

std::optional<int> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                  qsizetype minArguments, qsizetype maxArguments)
{
    parser.addHelpOption();
    if (!parser.parse(arguments)) {
        errorStream() << "orvane: " << parser.errorText() << "\n" << parser.helpText();
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << parser.helpText();
        return ExitOk;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < minArguments || count > maxArguments) {
        errorStream() << parser.helpText();
        return ExitUsage;
    }
    return std::nullopt;
}
