#include "PlatformPortNames.h"
#include "PortNames.h"

#include <QRegularExpression>

bool isSerialDevicePath(const QString &text)
{
    // tty followed by a letter: ttyS0, ttyUSB0, ttyACM0, ttyAMA0; tty1 is a virtual console.
    static const QRegularExpression pattern(QRegularExpression::anchoredPattern(
        QStringLiteral("/dev/(tty[A-Za-z][A-Za-z0-9_-]*|rfcomm[0-9]+|pts/[0-9]+"
                       "|serial/by-(id|path)/(?!\\.\\.?$)[^/\\s]+)")));
    return pattern.match(text).hasMatch();
}

bool isParallelDevicePath(const QString &text)
{
    static const QRegularExpression pattern(
        QRegularExpression::anchoredPattern(QStringLiteral("/dev/(usb/)?lp[0-9]+")));
    return pattern.match(text).hasMatch();
}

QString serialDeviceForNumber(qint16 n)
{
    return QStringLiteral("/dev/ttyS%1").arg(n - 1);
}

QString parallelDeviceForNumber(qint16 n)
{
    return QStringLiteral("/dev/lp%1").arg(n - 1);
}
