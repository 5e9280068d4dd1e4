#include "AutomaticStatusBack.h"
#include "EscPosParser.h"
#include "IdentityAnswers.h"
#include "NvPrinter.h"
#include "OrvaneProject.h"
#include "Recorder.h"
#include "Server.h"
#include "StopSignal.h"
#include "Transport.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

int fail(const QString &message, int code = 1)
{
    std::fprintf(stderr, "orvane-virtual-printer: %s\n", qPrintable(message));
    return code;
}

// Replaces an earlier link of ours, but never a file that is not a link.
QString makeLink(const QString &link, const QString &target)
{
    const QFileInfo info(link);
    if (info.isSymLink())
        QFile::remove(link);
    else if (info.exists())
        return QStringLiteral("%1 exists and is not a symbolic link").arg(link);
    if (!QFile::link(target, link))
        return QStringLiteral("cannot create the link %1").arg(link);
    return {};
}

// 127.X.Y.Z in host byte order; nothing for any other text.
std::optional<quint32> loopbackAddress(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char('.'));
    if (parts.size() != 4 || parts[0] != QLatin1String("127"))
        return std::nullopt;
    quint32 address = 0;
    for (const QString &part : parts) {
        bool ok = false;
        const uint value = part.toUInt(&ok);
        if (!ok || value > 255)
            return std::nullopt;
        address = address << 8 | value;
    }
    return address;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("orvane-virtual-printer"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ORVANE_VERSION));

    QCommandLineParser cli;
    cli.setApplicationDescription(QStringLiteral(
        "An ESC/POS receipt printer that stores NV images (FS q) and NV graphics (GS ( L, "
        "GS 8 L), prints them (FS p, GS ( L fn 69) as PNG files, answers DLE EOT status "
        "requests and questions about its graphics store, and records the byte stream. It "
        "serves a new pseudo-terminal, whose slave path it prints as the first line, or a TCP "
        "port on a loopback address, one connection at a time. It tells who it is to GS I."));
    const QCommandLineOption helpOption = cli.addHelpOption();
    const QCommandLineOption versionOption = cli.addVersionOption();
    const QCommandLineOption outOption(
        QStringLiteral("out"), QStringLiteral("Output directory (stream.bin, log.txt, PNGs)."),
        QStringLiteral("DIR"), QStringLiteral("virtual-printer-out"));
    const QCommandLineOption linkOption(
        QStringLiteral("link"),
        QStringLiteral("Make PATH a symbolic link to the pseudo-terminal; removed at exit."),
        QStringLiteral("PATH"));
    const QCommandLineOption tcpOption(
        QStringLiteral("tcp"),
        QStringLiteral("Serve TCP on PORT of 127.0.0.1 (or --address) instead (0: any free "
                       "port)."),
        QStringLiteral("PORT"));
    const QCommandLineOption baudOption(
        QStringLiteral("baud"),
        QStringLiteral("Read no faster than a serial line at N baud (N/10 bytes a second)."),
        QStringLiteral("N"));
    const QCommandLineOption stateOption(
        QStringLiteral("state"),
        QStringLiteral("How the printer answers DLE EOT: %1 (default ready).").arg(stateNames()),
        QStringLiteral("STATE"), QStringLiteral("ready"));
    const QCommandLineOption silentOption(QStringLiteral("silent"),
                                          QStringLiteral("Answer nothing, as on a one-way line."));
    const QCommandLineOption idleOption(
        QStringLiteral("exit-after-idle"),
        QStringLiteral("Exit after SECONDS without data, once something was received."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption capacityOption(
        QStringLiteral("graphics-capacity"),
        QStringLiteral("Bytes of NV graphics data the printer stores (default 262144)."),
        QStringLiteral("BYTES"));
    const QCommandLineOption storeTimeOption(
        QStringLiteral("store-time"),
        QStringLiteral("Seconds each NV graphics define keeps the printer busy (default 0)."),
        QStringLiteral("SECONDS"));
    const QCommandLineOption failingKeyOption(
        QStringLiteral("failing-key"),
        QStringLiteral("Fail to write any NV graphic defined under KEY (two characters)."),
        QStringLiteral("KEY"));
    const QCommandLineOption asbOption(
        QStringLiteral("asb"),
        QStringLiteral("Send automatic status back blocks unasked, before every second answer."));
    const QCommandLineOption addressOption(
        QStringLiteral("address"),
        QStringLiteral("Serve TCP on this loopback address (127.0.0.1 by default)."),
        QStringLiteral("127.X.Y.Z"));
    const IdentityAnswers defaults;
    const auto identityOption = [](const char *name, const char *what, int n,
                                   const QString &fallback) {
        return QCommandLineOption(QLatin1String(name),
                                  QStringLiteral("%1 told to GS I %2 (default %3).")
                                      .arg(QLatin1String(what))
                                      .arg(n)
                                      .arg(fallback),
                                  QStringLiteral("TEXT"), fallback);
    };
    const QCommandLineOption makerOption = identityOption("maker", "Maker", 66, defaults.maker);
    const QCommandLineOption modelOption = identityOption("model", "Model", 67, defaults.model);
    const QCommandLineOption firmwareOption =
        identityOption("firmware", "Firmware version", 65, defaults.firmware);
    const QCommandLineOption serialOption =
        identityOption("serial-number", "Serial number", 68, defaults.serialNumber);
    cli.addOptions({outOption, linkOption, tcpOption, addressOption, baudOption, stateOption,
                    silentOption, idleOption, capacityOption, storeTimeOption, failingKeyOption,
                    asbOption, makerOption, modelOption, firmwareOption, serialOption});
    // Printed here rather than by process(): Qt on Windows shows a message box instead when
    // it finds no console window, as with output to a pipe.
    if (!cli.parse(QCoreApplication::arguments()))
        return fail(cli.errorText());
    if (cli.isSet(helpOption)) {
        std::fputs(qPrintable(cli.helpText()), stdout);
        return 0;
    }
    if (cli.isSet(versionOption)) {
        std::printf("orvane-virtual-printer %s\n", ORVANE_VERSION);
        return 0;
    }

    ServeOptions options;
    bool ok = true;
    if (cli.isSet(baudOption)) {
        options.baud = cli.value(baudOption).toInt(&ok);
        if (!ok || options.baud <= 0)
            return fail(QStringLiteral("--baud wants a positive whole number"), 2);
    }
    if (cli.isSet(idleOption)) {
        const double seconds = cli.value(idleOption).toDouble(&ok);
        if (!ok || seconds <= 0)
            return fail(QStringLiteral("--exit-after-idle wants a positive number of seconds"), 2);
        options.exitAfterIdle = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::duration<double>(seconds));
    }
    const std::optional<PrinterState> state = printerStateNamed(cli.value(stateOption));
    if (!state)
        return fail(QStringLiteral("--state wants one of %1").arg(stateNames()), 2);
    GraphicsOptions graphics;
    if (cli.isSet(capacityOption)) {
        graphics.capacity = cli.value(capacityOption).toLongLong(&ok);
        if (!ok || graphics.capacity < 0)
            return fail(QStringLiteral("--graphics-capacity wants a whole number of bytes"), 2);
    }
    if (cli.isSet(storeTimeOption)) {
        const double seconds = cli.value(storeTimeOption).toDouble(&ok);
        if (!ok || seconds < 0 || seconds > 3600)
            return fail(QStringLiteral("--store-time wants seconds from 0 to 3600"), 2);
        graphics.storeTime = std::chrono::duration_cast<std::chrono::nanoseconds>(
            std::chrono::duration<double>(seconds));
    }
    if (cli.isSet(failingKeyOption)) {
        graphics.failingKey = cli.value(failingKeyOption).toLatin1();
        if (graphics.failingKey.size() != 2)
            return fail(QStringLiteral("--failing-key wants a key of two characters"), 2);
    }
    IdentityAnswers identity{cli.value(makerOption), cli.value(modelOption),
                             cli.value(firmwareOption), cli.value(serialOption)};
    for (const QString &text :
         {identity.maker, identity.model, identity.firmware, identity.serialNumber}) {
        if (!isIdentityText(text))
            return fail(QStringLiteral("--maker, --model, --firmware and --serial-number want "
                                       "1 to 80 printable ASCII characters"),
                        2);
    }
    quint32 loopback = 0x7F000001;
    if (cli.isSet(addressOption)) {
        const std::optional<quint32> address = loopbackAddress(cli.value(addressOption));
        if (!address)
            return fail(QStringLiteral("--address wants a loopback address 127.X.Y.Z"), 2);
        if (!cli.isSet(tcpOption))
            return fail(QStringLiteral("--address goes with --tcp"), 2);
        loopback = *address;
    }
    quint16 port = 0;
    if (cli.isSet(tcpOption)) {
        port = cli.value(tcpOption).toUShort(&ok);
        if (!ok)
            return fail(QStringLiteral("--tcp wants a port number from 0 to 65535"), 2);
        if (cli.isSet(linkOption))
            return fail(QStringLiteral("--link goes with the pseudo-terminal, not --tcp"), 2);
    }

    StopSignal::install();
    const QString outDir = QDir(cli.value(outOption)).absolutePath();
    Recorder recorder;
    if (const QString error = recorder.open(outDir); !error.isEmpty())
        return fail(error);
    // A printer reading at a line's rate takes little more than it has read, as a real one
    // does: a loopback connection would otherwise take megabytes ahead of it.
    constexpr int SlowPrinterReceiveBuffer = 4096;
    const OpenedTransport opened =
        cli.isSet(tcpOption)
            ? openTcp(port, loopback, options.baud > 0 ? SlowPrinterReceiveBuffer : 0)
            : openPty();
    if (!opened.transport)
        return fail(opened.error);
    Transport &transport = *opened.transport;

    const QString link = cli.value(linkOption);
    if (!link.isEmpty()) {
        if (const QString error = makeLink(link, transport.address()); !error.isEmpty())
            return fail(error);
    }

    std::printf("%s\n%s\n", qPrintable(transport.address()), qPrintable(outDir));
    std::fflush(stdout);

    // While it stores a graphic the printer reads nothing, as a real one writing its flash.
    graphics.pause = [&transport](std::chrono::nanoseconds time) { transport.pause(time); };
    NvPrinter printer(outDir, std::move(graphics));
    printer.setState(*state);
    EscPosParser::Reply reply;
    AutomaticStatusBack asb;
    const bool sendsAsb = cli.isSet(asbOption);
    if (!cli.isSet(silentOption)) {
        reply = [&transport, &asb, &printer, sendsAsb](QByteArrayView bytes) {
            if (sendsAsb)
                transport.write(asb.beforeAnswer(printer.state()));
            transport.write(bytes);
        };
    }
    EscPosParser parser(
        printer, [&recorder](const QString &line) { recorder.logLine(line); }, reply);
    parser.setIdentity(std::move(identity));
    serve(transport, parser, recorder, options);

    // Someone may have pointed the link elsewhere meanwhile; leave theirs alone.
    if (!link.isEmpty() && QFileInfo(link).symLinkTarget() == transport.address())
        QFile::remove(link);
    return 0;
}
