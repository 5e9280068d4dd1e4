#include "LinkTexts.h"

namespace LinkTexts {

QString nameWithoutColon(const QString &name)
{
    return QStringLiteral("%1 names no port: write the name with its colon, as %1:").arg(name);
}

QString badPortNumber(const QString &name)
{
    return QStringLiteral("%1 names no port: port numbers run from 1 to 32767").arg(name);
}

QString badRate(const QString &rateText)
{
    return QStringLiteral("\"%1\" is not a baud rate: give a whole number such as 9600")
        .arg(rateText);
}

} // namespace LinkTexts
