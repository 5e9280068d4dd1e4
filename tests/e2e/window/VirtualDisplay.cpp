#include "VirtualDisplay.h"

QString VirtualDisplay::start(const QString &xvfb, int timeoutMs)
{
    // With -displayfd the server picks a free display and writes its number once it listens.
    if (!m_server.start(xvfb,
                        {QStringLiteral("-displayfd"), QStringLiteral("1"),
                         QStringLiteral("-screen"), QStringLiteral("0"),
                         QStringLiteral("1024x768x24"), QStringLiteral("-nolisten"),
                         QStringLiteral("tcp"), QStringLiteral("-noreset")},
                        QProcessEnvironment::systemEnvironment()))
        return QStringLiteral("%1 did not start").arg(xvfb);
    const std::optional<QString> number = m_server.readLine(QDeadlineTimer(timeoutMs));
    bool isNumber = false;
    if (!number || (number->toInt(&isNumber), !isNumber))
        return QStringLiteral("Xvfb gave no display number: %1").arg(m_server.errorOutput());
    m_name = QLatin1Char(':') + *number;
    return {};
}

QProcessEnvironment VirtualDisplay::environment() const
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("DISPLAY"), m_name);
    return environment;
}
