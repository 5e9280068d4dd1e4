#include "CupsResponse.h"

#include <QTemporaryDir>

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

TEST(DeviceUri, NamesTheLocalPort)
{
    const struct
    {
        const char *uri;
        const char *port;
    } table[] = {
        {"serial:/dev/ttyUSB0?baud=9600", "/dev/ttyUSB0"},
        {"serial:/dev/ttyS0?baud=115200+bits=8+parity=none+flow=rtscts", "/dev/ttyS0"},
        {"parallel:/dev/lp0", "/dev/lp0"},
        {"file:/dev/usb/lp0", "/dev/usb/lp0"},
        {"file:///dev/usb/lp1", "/dev/usb/lp1"},
        {"file://localhost/dev/lp0", "/dev/lp0"},
        {"usb:/dev/usb/lp0", "/dev/usb/lp0"},
        {"usb://EPSON/TM-T20II?serial=X4FQ012345", ""},
        {"ipp://printer.example/ipp/print", ""},
        {"socket://192.168.1.20:9100", ""},
        {"lpd://server/queue", ""},
        {"dnssd://Receipt._ipp._tcp.local/", ""},
        {"file://otherhost/dev/lp0", ""},
        {"hp:/usb/LaserJet?serial=1", ""},
        {"serial:ttyUSB0", ""},
        {"/dev/ttyUSB0", ""},
        {"", ""},
    };
    for (const auto &row : table)
        EXPECT_EQ(portFromDeviceUri(QString::fromUtf8(row.uri)), QString::fromUtf8(row.port))
            << row.uri;
}

void addPrinter(ipp_t *response, const char *name, const char *uri)
{
    if (ippFirstAttribute(response) && ippGetGroupTag(ippFirstAttribute(response)))
        ippAddSeparator(response);
    if (name)
        ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_NAME, "printer-name", nullptr, name);
    ippAddInteger(response, IPP_TAG_PRINTER, IPP_TAG_ENUM, "printer-state", IPP_PSTATE_IDLE);
    if (uri)
        ippAddString(response, IPP_TAG_PRINTER, IPP_TAG_URI, "device-uri", nullptr, uri);
}

TEST(CupsAnswer, ReadsNameAndUriOfEachPrinterGroup)
{
    ipp_t *response = ippNew();
    ippSetStatusCode(response, IPP_STATUS_OK);
    ippAddString(response, IPP_TAG_OPERATION, IPP_TAG_CHARSET, "attributes-charset", nullptr,
                 "utf-8");
    addPrinter(response, "Receipt", "serial:/dev/ttyUSB0?baud=9600");
    addPrinter(response, nullptr, "parallel:/dev/lp1");
    addPrinter(response, "Office", nullptr);
    addPrinter(response, "\xe6\x94\xb6\xe6\x93\x9a", "file:/dev/usb/lp0");

    const QList<CupsQueue> queues = queuesFromResponse(response);
    ASSERT_EQ(queues.size(), 3);
    EXPECT_EQ(queues[0].name, QStringLiteral("Receipt"));
    EXPECT_EQ(queues[0].deviceUri, QStringLiteral("serial:/dev/ttyUSB0?baud=9600"));
    EXPECT_EQ(queues[1].name, QStringLiteral("Office"));
    EXPECT_TRUE(queues[1].deviceUri.isEmpty());
    EXPECT_EQ(queues[2].name, QString::fromUtf8("\xe6\x94\xb6\xe6\x93\x9a"));

    ippSetStatusCode(response, IPP_STATUS_ERROR_NOT_FOUND);
    EXPECT_TRUE(queuesFromResponse(response).isEmpty());
    ippDelete(response);
    EXPECT_TRUE(queuesFromResponse(nullptr).isEmpty());
}

TEST(CupsAnswer, NoSchedulerMeansNoQueues)
{
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    EXPECT_TRUE(CupsScheduler(folder.filePath("cups.sock")).queues().isEmpty());
}

} // namespace
