#include "Main.h"
#include "CommandLine.h"
#include "CommonDlg.h"
#include "Display.h"
#include "OrvaneProject.h"
#include "PictureConversion.h"
#include "PortCatalogue.h"
#include "SerialControlFactory.h"

#include <QApplication>
#include <QComboBox>
#include <QCommandLineParser>
#include <QIcon>
#include <QTextStream>
#include <QThreadPool>

#include <cstdio>
#include <cstdlib>

namespace {

constexpr int AbandonedWorkMs = 500;

} // namespace

int main(int argc, char *argv[])
{
    if (isCommandLineInvocation(argc, argv))
        return runCommandLine(argc, argv);
    if (!displayAvailable(argc, argv)) {
        QTextStream(stderr) << "orvane: there is no display to open the window on; the "
                               "subcommands work without one (see: orvane --help)\n";
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("orvane"));
    // The desktop entry's name, so a Wayland compositor matches the window to its icon.
    QApplication::setDesktopFileName(QStringLiteral(ORVANE_APP_ID));
    QIcon icon(QStringLiteral(":/icons/48x48/apps/orvane.png"));
    icon.addFile(QStringLiteral(":/icons/256x256/apps/orvane.png"));
    QApplication::setWindowIcon(icon);
    QCommandLineParser options;
    options.setApplicationDescription(QStringLiteral("Stores pictures as NV images in a receipt "
                                                     "printer. Subcommands: orvane --help."));
    options.addHelpOption();
    const QCommandLineOption port(QStringLiteral("port"),
                                  QStringLiteral("Put PORT first in the port box, selected."),
                                  QStringLiteral("PORT"));
    options.addOption(port);
    if (!options.parse(QApplication::arguments())) {
        QTextStream(stderr) << "orvane: " << options.errorText() << " (see: orvane --help)\n";
        return 2;
    }
    if (options.isSet(QStringLiteral("help")))
        options.showHelp();

    Main window(makeSerialControl(), createSystemCatalogue(), std::make_unique<CommonDlg>());
    if (options.isSet(port)) {
        window.cmbPortList->insertItem(0, options.value(port));
        window.cmbPortList->setCurrentIndex(0);
    }
    window.show();
    const int exitCode = app.exec();
    // A conversion or check that closing the window ended may still be decoding a picture for
    // seconds. Its result is not wanted and it writes nothing, so the process does not wait
    // for it beyond a moment.
    if (!pictureConversionWorkers().waitForDone(AbandonedWorkMs)) {
        std::fflush(nullptr);
        std::_Exit(exitCode);
    }
    return exitCode;
}
