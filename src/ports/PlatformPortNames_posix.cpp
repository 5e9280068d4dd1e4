#include "PlatformPortNames.h"
#include "PortNames.h"

#include <QFileInfo>
#include <QRegularExpression>

namespace {

// A stable symbolic link (a udev rule's /dev/receipt-printer, the virtual printer's --link)
// names the device it points to.
bool namesDevice(const QRegularExpression &pattern, const QString &text)
{
    if (pattern.match(text).hasMatch())
        return true;
    const QFileInfo link(text);
    return text.startsWith(QLatin1Char('/')) && link.isSymLink() &&
           pattern.match(link.canonicalFilePath()).hasMatch();
}

} // namespace

bool isSerialDevicePath(const QString &text)
{
    // tty followed by a letter: ttyS0, ttyUSB0, ttyACM0, ttyAMA0; tty1 is a virtual console.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("/dev/(tty[A-Za-z][A-Za-z0-9_-]*|rfcomm[0-9]+|pts/[0-9]+"
                       "|serial/by-(id|path)/(?!\\.\\.?$)[^/\\s]+)")));
    return namesDevice(pattern, text);
}

bool isParallelDevicePath(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("/dev/(usb/)?lp[0-9]+")));
    return namesDevice(pattern, text);
}

QString parallelDeviceForNumber(qint16 n)
{
    return QStringLiteral("/dev/lp%1").arg(n - 1);
}
