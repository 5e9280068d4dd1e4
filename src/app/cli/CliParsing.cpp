#include "CliParsing.h"
#include "CliTexts.h"
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

namespace {

// Qt's own help option would offer --help-all too, for Qt options no subcommand takes.
const QCommandLineOption helpOption({QStringLiteral("h"), QStringLiteral("help")},
                                    QStringLiteral("Show this help."));

// The option as the user typed it: Qt names it without its dashes.
QString typedOption(const QString &name, const QStringList &arguments)
{
    for (qsizetype index = 1; index < arguments.size(); ++index) {
        const QString word = arguments[index].section(QLatin1Char('='), 0, 0);
        if (word == QLatin1String("--"))
            break;
        if (word.startsWith(QLatin1Char('-')) &&
            word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1) == name)
            return word;
    }
    return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
}

QString parseFault(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList unknown = parser.unknownOptionNames();
    if (!unknown.isEmpty())
        return CliTexts::UnknownOption.arg(typedOption(unknown.front(), arguments));
    return parser.errorText();
}

bool isNumber(const QString &text)
{
    bool ok = false;
    text.toDouble(&ok);
    return ok;
}

// An option written without its value takes the next word for it (--dither -o out.png), and
// the mistake would surface as a stray argument or a wrong value.
QString optionWithoutValue(const QCommandLineParser &parser, const QStringList &arguments)
{
    const QStringList found = parser.optionNames();
    for (qsizetype index = 1; index + 1 < arguments.size(); ++index) {
        const QString &word = arguments[index];
        if (word == QLatin1String("--"))
            break;
        const QString &next = arguments[index + 1];
        if (!word.startsWith(QLatin1Char('-')) || word.contains(QLatin1Char('=')) ||
            next.size() < 2 || !next.startsWith(QLatin1Char('-')) || isNumber(next))
            continue;
        const QString name = word.mid(word.startsWith(QLatin1String("--")) ? 2 : 1);
        if (found.contains(name) && parser.values(name).contains(next))
            return CliTexts::MissingValue.arg(word, next);
    }
    return {};
}

} // namespace

std::optional<int> parseArguments(QCommandLineParser &parser, const QStringList &arguments,
                                  qsizetype minArguments, qsizetype maxArguments)
{
    parser.addOption(helpOption);
    if (!parser.parse(arguments))
        return usageFault(parseFault(parser, arguments));
    if (const QString fault = optionWithoutValue(parser, arguments); !fault.isEmpty())
        return usageFault(fault);
    if (parser.isSet(helpOption)) {
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
