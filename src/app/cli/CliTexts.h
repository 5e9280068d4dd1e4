#pragma once

#include <QString>

namespace CliTexts {
inline const QString Usage = QStringLiteral(
    "Usage: orvane [--port PORT]            open the window\n"
    "       orvane ports                    list the ports, as the port box does\n"
    "       orvane raster PICTURE -o FILE   write the raster record of PICTURE\n"
    "       orvane preview PICTURE -o FILE.png\n"
    "                                       write a picture of how the printer prints it\n"
    "                                       (in the format FILE's ending names; - for stdout)\n"
    "       orvane upload --port PORT [--baud RATE] [--yes] PICTURE...\n"
    "                                       store the pictures as NV images 1..n\n"
    "         raster, preview and upload take --dither MODE, --threshold N, --width DOTS,\n"
    "         --invert and --rotate DEGREES\n"
    "       orvane erase --port PORT [--baud RATE]\n"
    "       orvane print --port PORT [--baud RATE]\n"
    "         upload, erase and print take --nv bit-image (the default) or --nv graphics\n"
    "       orvane status --port PORT [--baud RATE]\n"
    "                                       tell how the printer is; exit 3 when not ready\n"
    "         upload, erase, print and status take --port many times, --ports FILE,\n"
    "         --jobs N and --json: the job runs on every printer named, a table at the end\n"
    "       orvane discover RANGE [--port-number PORT] [--jobs N] [--json]\n"
    "                                       find the printers of a network A.B.C.D/N\n"
    "       orvane --version                print the name and version\n"
    "Each subcommand takes --help.\n");
inline const QString UnknownSubcommand =
    QStringLiteral("unknown subcommand '%1' (see: orvane --help)");
inline const QString NoPorts = QStringLiteral("no serial, parallel or printer port was found");
inline const QString CannotWrite = QStringLiteral("cannot write %1: %2");
inline const QString Ready = QStringLiteral("ready");
inline const QString UploadRefused = QStringLiteral("nothing was sent: %1");
inline const QString StoreOverflow =
    QStringLiteral("%1 The pictures take %2 bytes of raster data; the store holds %3.");
inline const QString BadDither =
    QStringLiteral("--dither takes none, floyd-steinberg, atkinson or ordered, not '%1'");
inline const QString BadThreshold =
    QStringLiteral("--threshold takes a whole number from 0 to 255, not '%1'");
inline const QString ThresholdWithoutNone =
    QStringLiteral("--threshold applies to --dither none only");
inline const QString BadNv = QStringLiteral("--nv takes bit-image or graphics, not '%1'");
inline const QString GraphicsStore = QStringLiteral("NV graphics: %1 bytes, %2 free");
inline const QString GraphicsKeys = QStringLiteral("NV graphics stored: %1");
inline const QString NoKeys = QStringLiteral("none");
inline const QString BadWidth =
    QStringLiteral("--width takes a multiple of 8 from 8 to 576 (dots), not '%1'");
inline const QString BadRotate =
    QStringLiteral("--rotate takes 0, 90, 180 or 270 (degrees), not '%1'");
inline const QString Model = QStringLiteral("model");
inline const QString SerialNumber = QStringLiteral("serial number");
inline const QString Maker = QStringLiteral("maker");
inline const QString Firmware = QStringLiteral("firmware");
inline const QString CannotReadPorts = QStringLiteral("cannot read %1: %2");
inline const QString PortsFileTooLarge = QStringLiteral("%1 is too large for a list of ports");
inline const QString NotAPortLine =
    QStringLiteral("%1, line %2: '%3' names no serial, parallel or network port");
inline const QString NoPortsInFile = QStringLiteral("%1 names no port");
inline const QString FleetNeedsYes =
    QStringLiteral("an upload to more than one printer needs --yes: nobody can reset every "
                   "printer at one prompt");
inline const QString BadJobs =
    QStringLiteral("--jobs takes a whole number from %1 to %2, not '%3'");
inline const QString PortMissing = QStringLiteral("--port PORT or --ports FILE is missing");
inline const QString BadRange =
    QStringLiteral("RANGE takes an IPv4 network A.B.C.D/N (N from 20 to 32) or one address, not "
                   "'%1'");
inline const QString BadPortNumber =
    QStringLiteral("--port-number takes a TCP port from 1 to 65535, not '%1'");
inline const QString RangeTooWide =
    QStringLiteral("'%1' is too wide to scan: RANGE holds at most 4096 addresses (a prefix from "
                   "/20 to /32)");
inline const QString RangeIsIPv6 =
    QStringLiteral("'%1' is an IPv6 address: discover scans IPv4 networks only (a printer on "
                   "IPv6 takes --port tcp://[ADDRESS]:9100)");
inline const QString RangeIsHostName =
    QStringLiteral("'%1' is a host name: discover scans IPv4 addresses and looks up no name (a "
                   "printer known by name takes --port tcp://%1)");
inline const QString NothingFound = QStringLiteral("no address of %1 took a connection on port %2");
inline const QString UnknownOption = QStringLiteral("unknown option '%1'");
inline const QString MissingValue = QStringLiteral("%1 is missing its value: '%2' is an option");
inline const QString PortGivenTwice =
    QStringLiteral("the port %1 is given twice: each printer takes the job once");
inline const QString SamePortTwice = QStringLiteral("%1 and %2 name the same port");
inline const QString FileLine = QStringLiteral("%1, line %2");
inline const QString RowSkipped =
    QStringLiteral("%1: %2 is skipped, no printer answered there when discovered (%3)");
inline const QString RowNamesNoPort = QStringLiteral("%1: skipped, the object names no port");
inline const QString Erased = QStringLiteral("Erased the NV images stored in %1.");
inline const QString ErasedGraphics = QStringLiteral("Erased the NV graphics stored in %1.");
inline const QString Printed =
    QStringLiteral("Asked %1 to print NV images 1 to 255: it prints each one it holds.");
inline const QString PrintedGraphics = QStringLiteral("Printed NV graphics %1 on %2.");
inline const QString PrintedEveryKey =
    QStringLiteral("Asked %1 to print NV graphics 01 to FF: it prints each one it holds.");
inline const QString NoGraphicsToPrint =
    QStringLiteral("%1 holds no NV graphics: nothing was printed.");
inline const QString BadOutputFormat =
    QStringLiteral("'%2' names a picture format that preview cannot write (it writes %1)");
} // namespace CliTexts
