#include "CommandLine.h"
#include "CliTexts.h"
#include "OrvaneProject.h"
#include "Subcommands.h"

#include <QCoreApplication>
#include <QTextStream>

#include <cstring>

namespace {

bool asksForHelp(const char *argument)
{
    return std::strcmp(argument, "--help") == 0 || std::strcmp(argument, "-h") == 0 ||
           std::strcmp(argument, "help") == 0;
}

bool asksForVersion(const char *argument)
{
    return std::strcmp(argument, "--version") == 0;
}

} // namespace

bool isCommandLineInvocation(int argc, char *argv[])
{
    // Options before any word belong to the window; a word always names a subcommand.
    return argc >= 2 && (argv[1][0] != '-' || asksForHelp(argv[1]) || asksForVersion(argv[1]));
}

int runCommandLine(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));
    if (asksForVersion(argv[1])) {
        QTextStream(stdout) << "orvane " << QCoreApplication::applicationVersion() << '\n';
        return ExitOk;
    }
    QStringList arguments = QCoreApplication::arguments();
    const Subcommand *subcommand = findSubcommand(arguments.value(1));
    if (!subcommand) {
        if (asksForHelp(argv[1])) {
            QTextStream(stdout) << CliTexts::Usage;
            return ExitOk;
        }
        QTextStream(stderr) << "orvane: " << CliTexts::UnknownSubcommand.arg(arguments.value(1))
                            << '\n';
        return ExitUsage;
    }
    arguments.removeAt(1);
    return subcommand->run(arguments);
}
