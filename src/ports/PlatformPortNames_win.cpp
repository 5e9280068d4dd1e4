#include "PlatformPortNames.h"
#include "PortNames.h"

bool isSerialDevicePath(const QString &)
{
    return false;
}

bool isParallelDevicePath(const QString &)
{
    return false;
}

QString parallelDeviceForNumber(qint16 n)
{
    return QStringLiteral("LPT%1:").arg(n);
}
