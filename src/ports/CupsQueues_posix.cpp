#include "CupsConnection.h"
#include "CupsResponse.h"
#include "NetworkAddress.h"

#include <QUrl>

#include <cups/cups.h>

#include <utility>

namespace {

// A scheduler that cannot be reached within a second or stays silent for five lists no queues.
constexpr std::chrono::seconds ConnectLimit(1);
constexpr std::chrono::seconds AnswerLimit(5);

QString stringValue(ipp_attribute_t *attribute)
{
    return QString::fromUtf8(ippGetString(attribute, 0, nullptr));
}

} // namespace

CupsScheduler::CupsScheduler(QString server, int port)
    : m_server(std::move(server))
    , m_port(port)
{}

QList<CupsQueue> CupsScheduler::queues() const
{
    const QByteArray server = m_server.isEmpty() ? QByteArray(cupsServer()) : m_server.toUtf8();
    const int port = m_port > 0 ? m_port : ippPort();
    http_t *http = connectToScheduler(server.constData(), port, ConnectLimit, AnswerLimit);
    if (!http)
        return {};

    ipp_t *request = ippNewRequest(IPP_OP_CUPS_GET_PRINTERS);
    ippAddString(request, IPP_TAG_OPERATION, IPP_TAG_NAME, "requesting-user-name", nullptr,
                 cupsUser());
    static const char *const wanted[] = {"printer-name", "device-uri"};
    ippAddStrings(request, IPP_TAG_OPERATION, IPP_TAG_KEYWORD, "requested-attributes",
                  std::size(wanted), nullptr, wanted);
    ipp_t *response = cupsDoRequest(http, request, "/");
    const QList<CupsQueue> result = queuesFromResponse(response);
    ippDelete(response);
    httpClose(http);
    return result;
}

QList<CupsQueue> queuesFromResponse(ipp_t *response)
{
    QList<CupsQueue> result;
    if (!response || ippGetStatusCode(response) > IPP_STATUS_OK_EVENTS_COMPLETE)
        return result;
    ipp_attribute_t *attribute = ippFirstAttribute(response);
    while (attribute) {
        while (attribute && ippGetGroupTag(attribute) != IPP_TAG_PRINTER)
            attribute = ippNextAttribute(response);
        CupsQueue queue;
        for (; attribute && ippGetGroupTag(attribute) == IPP_TAG_PRINTER;
             attribute = ippNextAttribute(response)) {
            const char *name = ippGetName(attribute);
            if (!name)
                continue;
            const std::string_view key(name);
            if (key == "printer-name" && ippGetValueTag(attribute) == IPP_TAG_NAME)
                queue.name = stringValue(attribute);
            else if (key == "device-uri" && ippGetValueTag(attribute) == IPP_TAG_URI)
                queue.deviceUri = stringValue(attribute);
        }
        if (!queue.name.isEmpty())
            result.append(queue);
    }
    return result;
}

QString portFromDeviceUri(const QString &uri)
{
    const QUrl url(uri, QUrl::StrictMode);
    if (!url.isValid())
        return {};
    const QString scheme = url.scheme();
    // A raw network printer (AppSocket) is the port Orvane would type for it.
    if (scheme == QLatin1String("socket") && !url.host().isEmpty())
        return NetworkAddress{url.host(), quint16(url.port(NetworkAddress::RawPrintingPort))}
            .portText();
    const bool localHost = url.host().isEmpty() || (scheme == QLatin1String("file") &&
                                                    url.host() == QLatin1String("localhost"));
    const bool deviceScheme = scheme == QLatin1String("serial") ||
                              scheme == QLatin1String("parallel") ||
                              scheme == QLatin1String("usb") || scheme == QLatin1String("file");
    const QString path = url.path(QUrl::FullyDecoded);
    if (!deviceScheme || !localHost || !path.startsWith(QLatin1Char('/')))
        return {};
    return path;
}

QList<InstalledPrinter> printersFromQueues(const QList<CupsQueue> &queues)
{
    QList<InstalledPrinter> printers;
    for (const CupsQueue &queue : queues) {
        const QString port = portFromDeviceUri(queue.deviceUri);
        if (!port.isEmpty())
            printers.append({port, queue.name});
    }
    return printers;
}
