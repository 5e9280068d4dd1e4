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

QString refused(const QString &address, quint16 port)
{
    return QStringLiteral("%1 refused the connection: is the printer switched on, and does it "
                          "take print jobs on port %2?")
        .arg(address)
        .arg(port);
}

QString hostNotFound(const QString &host)
{
    return QStringLiteral("%1 is not a known host name").arg(host);
}

QString noRoute(const QString &address, const QString &systemReason)
{
    return QStringLiteral("There is no route to %1 (%2): check the address and the network")
        .arg(address, systemReason);
}

QString timedOut(const QString &address, std::chrono::milliseconds limit)
{
    return QStringLiteral("%1 did not answer within %2 s: check the address, and that the "
                          "printer is switched on")
        .arg(address)
        .arg(std::chrono::duration<double>(limit).count());
}

QString closed(const QString &address)
{
    return QStringLiteral("%1 closed the connection").arg(address);
}

QString networkFailed(const QString &address, const QString &systemReason)
{
    return QStringLiteral("The connection to %1 failed: %2").arg(address, systemReason);
}

QString connectStopped(const QString &address)
{
    return QStringLiteral("connecting to %1 was stopped").arg(address);
}

QString notHandedOn(qint64 count, const QString &address)
{
    return QStringLiteral("%1 bytes not sent to %2 before the connection closed")
        .arg(count)
        .arg(address);
}

QString notAcknowledged(qint64 count, const QString &address)
{
    return QStringLiteral("%1 never acknowledged the last %2 bytes: the printer may not have "
                          "received the whole job")
        .arg(address)
        .arg(count);
}

QString reset(const QString &address)
{
    return QStringLiteral("%1 reset the connection before the printer had read the whole job")
        .arg(address);
}

QString queueProblem(const QString &name, const QString &what, const QString &said)
{
    const QString problem = QStringLiteral("The print queue %1 %2").arg(name, what);
    return said.isEmpty() ? problem : problem + QStringLiteral(": ") + said;
}

QString leftInQueue(const QString &name, const QString &job)
{
    return QStringLiteral("The job is still in the print queue %1 as %2 and prints when the "
                          "printer takes it.")
        .arg(name, job);
}

} // namespace LinkTexts
