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

int usageFault(const QString &mistake)
{
    errorStream() << "orvane: " << mistake << " (see: orvane "
                  << QCoreApplication::arguments().value(1) << " --help)" << Qt::endl;
    return ExitUsage;
}

std::optional<int> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                  qsizetype minArguments, qsizetype maxArguments)
{
    parser.addHelpOption();
    if (!parser.parse(arguments))
        return usageFault(parser.errorText());
    if (parser.isSet(QStringLiteral("help"))) {
        QTextStream(stdout) << helpText(parser);
        return ExitOk;
    }
    const QStringList positional = parser.positionalArguments();
    if (positional.size() < minArguments)
        return usageFault(QStringLiteral("an argument is missing"));
    if (positional.size() > maxArguments)
        return usageFault(QStringLiteral("unexpected argument '%1'").arg(positional.last()));
    return std::nullopt;
}
