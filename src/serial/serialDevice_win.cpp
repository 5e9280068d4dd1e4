#include "SerialPlatform.h"

QString serialDeviceName(qint16 commPort)
{
    if (commPort < 1)
        return {};
    return QStringLiteral("COM%1").arg(commPort);
}

OpenFailure classifyOpenFailure(QSerialPort::SerialPortError error, const QString &)
{
    switch (error) {
    case QSerialPort::DeviceNotFoundError:
        return OpenFailure::Missing;
    case QSerialPort::PermissionError:
        // Windows answers ERROR_ACCESS_DENIED when another program has the port open.
        return OpenFailure::Busy;
    default:
        return OpenFailure::Other;
    }
}
