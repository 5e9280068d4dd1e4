#include "DeviceAnswers.h"

// The spooler's device files are opened for writing only.
bool deviceAnswers(const QString &)
{
    return false;
}

QByteArray readDeviceAnswers(qintptr, qsizetype)
{
    return {};
}
