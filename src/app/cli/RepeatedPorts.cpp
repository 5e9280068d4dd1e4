#include "RepeatedPorts.h"

#include "CliTexts.h"
#include "NetworkAddress.h"
#include "PortNames.h"

#include <QHash>

namespace {

// What the port opens, whichever way its text is written.
QString openedBy(const QString &port)
{
    const QString text = port.trimmed();
    QString device;
    switch (linkKindOf(text)) {
    case LinkKind::Network:
        if (const std::optional<NetworkAddress> address = networkAddressOf(text))
            return QStringLiteral("tcp:") + address->host.toLower() + QLatin1Char(':') +
                   QString::number(address->port);
        break;
    case LinkKind::Serial:
        device = serialDeviceFor(text);
        break;
    case LinkKind::Parallel:
        device = parallelDeviceFor(text);
        break;
    case LinkKind::Queue:
    case LinkKind::None:
        break;
    }
    return device.isEmpty() ? text : device;
}

} // namespace

QString repeatedPortFault(const QStringList &ports)
{
    QHash<QString, QString> first;
    for (const QString &port : ports) {
        const QString key = openedBy(port);
        const auto earlier = first.constFind(key);
        if (earlier == first.cend()) {
            first.insert(key, port);
            continue;
        }
        return *earlier == port ? CliTexts::PortGivenTwice.arg(port)
                                : CliTexts::SamePortTwice.arg(*earlier, port);
    }
    return {};
}
