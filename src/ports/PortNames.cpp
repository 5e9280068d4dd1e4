#include "PortNames.h"

#include "NetworkAddress.h"
#include "NumberText.h"
#include "PlatformPortNames.h"
#include "SerialPlatform.h"

namespace {

const QString queuePrefix = QStringLiteral("queue:");

bool isPortName(const QString &name, const QString &prefix)
{
    if (name.left(prefix.size()).toUpper() != prefix)
        return false;
    QString rest = name;
    rest.remove(prefix, Qt::CaseInsensitive);
    rest.remove(QLatin1Char(':'));
    return IsNumber(trimSpaces(rest));
}

} // namespace

bool IsComPort(const QString &name)
{
    return isPortName(name, QStringLiteral("COM"));
}

bool IsLptPort(const QString &name)
{
    return isPortName(name, QStringLiteral("LPT"));
}

QString queueNameOf(const QString &portText)
{
    return portText.startsWith(queuePrefix) ? portText.mid(queuePrefix.size()) : QString();
}

QString queuePortText(const QString &queueName)
{
    return queuePrefix + queueName;
}

LinkKind linkKindOf(const QString &portText)
{
    // Before the network form, which queue:NAME would also match when NAME is a number.
    if (!queueNameOf(portText).isEmpty())
        return LinkKind::Queue;
    if (IsComPort(portText) || isSerialDevicePath(portText))
        return LinkKind::Serial;
    if (IsLptPort(portText) || isParallelDevicePath(portText))
        return LinkKind::Parallel;
    if (networkAddressOf(portText))
        return LinkKind::Network;
    return LinkKind::None;
}

std::optional<qint16> portNumberOf(const QString &portText)
{
    const QString trimmed = trimSpaces(portText);
    // The last character goes whatever it is; unless it is the colon, COM12 would open COM1.
    if (trimmed.size() < 4 || !trimmed.endsWith(QLatin1Char(':')))
        return std::nullopt;
    const std::optional<qint16> number = wholeNumberOf<qint16>(trimmed.mid(3, trimmed.size() - 4));
    // Port numbers start at 1 (COM1:, LPT1:).
    if (!number || *number < 1)
        return std::nullopt;
    return number;
}

namespace {

QString deviceForNumber(const QString &portText, QString (*forNumber)(qint16))
{
    const std::optional<qint16> number = portNumberOf(portText);
    return number ? forNumber(*number) : QString();
}

} // namespace

QString serialDeviceFor(const QString &portText)
{
    if (isSerialDevicePath(portText))
        return portText;
    if (!IsComPort(portText))
        return {};
    return deviceForNumber(portText, serialDeviceName);
}

QString parallelDeviceFor(const QString &portText)
{
    if (isParallelDevicePath(portText))
        return portText;
    if (!IsLptPort(portText))
        return {};
    return deviceForNumber(portText, parallelDeviceForNumber);
}
