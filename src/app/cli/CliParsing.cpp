#include "CliParsing.h"
#include "Subcommands.h"

#include <QCoreApplication>

QTextStream &errorStream()
{
    static QTextStream stream(stderr);
    return stream;
}

QString helpText(const QCommandLineParser &parser)
{
    // The parser names the program by its path and knows nothing of subcommands.
    const QStringList arguments = QCoreApplication::arguments();
    const QString usage = QStringLiteral("Usage: ");
    QString text = parser.helpText();
    if (text.startsWith(usage + arguments.value(0)))
        text.replace(usage.size(), arguments.value(0).size(),
                     QStringLiteral("orvane ") + arguments.value(1));
    return text;
}

std::optional<int> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                  qsizetype minArguments, qsizetype maxArguments)
{
    parser.addHelpOption();
    if (!parser.parse(arguments)) {
        errorStream() << "orvane: " << parser.errorText() << "\n" << helpText(parser);
        return ExitUsage;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << helpText(parser);
        return ExitOk;
    }
    const qsizetype count = parser.positionalArguments().size();
    if (count < minArguments || count > maxArguments) {
        errorStream() << helpText(parser);
        return ExitUsage;
    }
    return std::nullopt;
}
