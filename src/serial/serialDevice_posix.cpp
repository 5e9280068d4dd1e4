#include "QtSerialPlatform.h"
#include "SerialPlatform.h"

#include <cerrno>
#include <unistd.h>

QString serialDeviceName(qint16 commPort)
{
    if (commPort < 1)
        return {};
    return QStringLiteral("/dev/ttyS%1").arg(commPort - 1);
}

OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, const QString &portName)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::Missing;
    case QSerialPort::PermissionError: {
        // QSerialPort reports a refused open(), a TIOCEXCL holder (EBUSY) and a lock file
        // held by another program all as PermissionError; only the first is about rights.
        const bool denied =
            ::access(portName.toLocal8Bit().constData(), R_OK | W_OK) != 0 && errno == EACCES;
        return denied ? OpenFailure::PermissionDenied : OpenFailure::Busy;
    }
    default:
        return OpenFailure::Other;
    }
}
