#include "SerialTexts.h"

namespace SerialTexts {

QString badSettings(const QString &settings)
{
    return QStringLiteral("The line settings \"%1\" are not valid; they should read like "
                          "9600,n,8,1 (rate, parity n/e/o/m/s, data bits 5-8, stop bits "
                          "1/1.5/2)")
        .arg(settings);
}

QString openFailed(OpenFailure failure, const QString &portName, const QString &systemReason)
{
    switch (failure) {
    case OpenFailure::Busy:
        return QStringLiteral("%1 is in use by another program").arg(portName);
    case OpenFailure::Missing:
        return QStringLiteral("%1 does not exist").arg(portName);
    case OpenFailure::PermissionDenied:
        // Device nodes belong to a group (dialout) the operator may not be in.
        if (portName.startsWith(QLatin1String("/dev/")))
            return QStringLiteral("Permission denied on %1: add your user to the dialout group")
                .arg(portName);
        return QStringLiteral("Permission denied on %1").arg(portName);
    case OpenFailure::Other:
        break;
    }
    return QStringLiteral("%1 could not be opened: %2").arg(portName, systemReason);
}

QString handshakingRefused(const QString &portName, const QString &systemReason)
{
    return QStringLiteral("%1 refused the handshaking setting: %2").arg(portName, systemReason);
}

QString notOpen()
{
    return QStringLiteral("The serial port is not open");
}

QString writeFailed(const QString &portName, const QString &systemReason)
{
    return QStringLiteral("Writing to %1 failed: %2").arg(portName, systemReason);
}

QString deviceLost(const QString &portName)
{
    return QStringLiteral("%1 stopped answering: the cable may be unplugged or the adapter "
                          "removed")
        .arg(portName);
}

QString bytesNotSent(qint64 count, const QString &portName)
{
    return QStringLiteral("%1 bytes not sent to %2 before it closed").arg(count).arg(portName);
}

} // namespace SerialTexts
