#include "NetworkAddress.h"

#include <QHostAddress>
#include <QRegularExpression>

namespace {

const QString Scheme = QStringLiteral("tcp://");

bool isHostName(const QString &text)
{
    // Letters, digits and inner hyphens in dot-separated labels; IPv4 addresses match too.
    static const QRegularExpression name(QRegularExpression::anchoredPattern(
        QStringLiteral("[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?"
                       "(\\.[A-Za-z0-9]([A-Za-z0-9-]{0,61}[A-Za-z0-9])?)*\\.?")));
    return text.size() <= 253 && name.match(text).hasMatch();
}

std::optional<quint16> portOf(const QString &text)
{
    static const QRegularExpression digits(QRegularExpression::anchoredPattern("[0-9]{1,5}"));
    if (!digits.match(text).hasMatch())
        return std::nullopt;
    const int port = text.toInt();
    if (port < 1 || port > 65535)
        return std::nullopt;
    return quint16(port);
}

} // namespace

QString NetworkAddress::text() const
{
    const QString shown =
        host.contains(QLatin1Char(':')) ? QLatin1Char('[') + host + QLatin1Char(']') : host;
    return shown + QLatin1Char(':') + QString::number(port);
}

QString NetworkAddress::portText() const
{
    return Scheme + text();
}

std::optional<NetworkAddress> networkAddressOf(const QString &portText)
{
    const bool schemed = portText.startsWith(Scheme, Qt::CaseInsensitive);
    const QString rest = schemed ? portText.mid(Scheme.size()) : portText;

    QString host;
    std::optional<QString> port; // the text after the host's colon, when there is one
    if (rest.startsWith(QLatin1Char('['))) {
        const qsizetype close = rest.indexOf(QLatin1Char(']'));
        if (close < 0)
            return std::nullopt;
        host = rest.mid(1, close - 1);
        const QString after = rest.mid(close + 1);
        if (after.startsWith(QLatin1Char(':')))
            port = after.mid(1);
        else if (!after.isEmpty())
            return std::nullopt;
        if (QHostAddress(host).protocol() != QAbstractSocket::IPv6Protocol)
            return std::nullopt;
    } else {
        const qsizetype colon = rest.indexOf(QLatin1Char(':'));
        host = colon < 0 ? rest : rest.left(colon);
        if (colon >= 0)
            port = rest.mid(colon + 1);
        if (!isHostName(host))
            return std::nullopt;
    }

    NetworkAddress address{host};
    if (port) {
        const std::optional<quint16> number = portOf(*port);
        if (!number)
            return std::nullopt;
        address.port = *number;
    } else if (!schemed) {
        // A bare word is no address: only tcp:// may leave the port out.
        return std::nullopt;
    }
    return address;
}
