#include "CommandLine.h"
#include "CliTexts.h"
#include "Subcommands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

bool isCommandLineInvocation(int argc, char *argv[])
{
    if (argc < 2)
        return false;
    const char *first = argv[1];
    return findSubcommand(QString::fromLocal8Bit(first)) != nullptr ||
           std::strcmp(first, "--help") == 0 || std::strcmp(first, "-h") == 0 ||
           std::strcmp(first, "help") == 0;
}

int runCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane"));
    QStringList arguments = QCoreApplication::arguments();
    const QString name = arguments.value(1);
    const Subcommand *subcommand = findSubcommand(name);
    if (!subcommand) {
        QTextStream(stdout) << CliTexts::Usage;
        return ExitOk;
    }
    arguments.removeAt(1);
    arguments[0] = QStringLiteral("orvane ") + name;
    return subcommand->run(arguments);
}
