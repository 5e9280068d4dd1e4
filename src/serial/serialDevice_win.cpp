#include "SerialPlatform.h"

QString serialDeviceName(qint16 commPort)
{
    if (commPort < 1)
        return {};
    return QStringLiteral("COM%1").arg(commPort);
}
