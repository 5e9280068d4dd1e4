#include "PortNames.h"

#include "PlatformPortNames.h"
#include "modSerailIO.h"

#include <cmath>
#include <limits>

LinkKind linkKindOf(const QString &portText)
{
    if (IsComPort(portText) || isSerialDevicePath(portText))
        return LinkKind::Serial;
    if (IsLptPort(portText) || isParallelDevicePath(portText))
        return LinkKind::Parallel;
    return LinkKind::None;
}

std::optional<qint16> portNumberOf(const QString &portText)
{
    const QString trimmed = trimSpaces(portText);
    if (trimmed.size() < 4)
        return std::nullopt;
    const QString numberText = trimmed.mid(3, trimmed.size() - 4);
    if (!IsNumber(numberText))
        return std::nullopt;
    // Halves go to the even neighbour under the default rounding mode.
    const double number = std::nearbyint(numberText.toDouble());
    if (number < std::numeric_limits<qint16>::min() || number > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return static_cast<qint16>(number);
}

namespace {

QString deviceForNumber(const QString &portText, QString (*forNumber)(qint16))
{
    const std::optional<qint16> number = portNumberOf(portText);
    if (!number || *number < 1)
        return {};
    return forNumber(*number);
}

} // namespace

QString serialDeviceFor(const QString &portText)
{
    if (isSerialDevicePath(portText))
        return portText;
    if (!IsComPort(portText))
        return {};
    return deviceForNumber(portText, serialDeviceForNumber);
}

QString parallelDeviceFor(const QString &portText)
{
    if (isParallelDevicePath(portText))
        return portText;
    if (!IsLptPort(portText))
        return {};
    return deviceForNumber(portText, parallelDeviceForNumber);
}
