#include "CupsResponse.h"

#include <QTemporaryDir>

#include "QStringPrinter.h"

#include <cups/cups.h>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <atomic>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

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
        {"usb://Maker/Receipt80?serial=X4FQ012345", ""},
        {"ipp://printer.example/ipp/print", ""},
        {"socket://192.168.1.20:9100", "tcp://192.168.1.20:9100"},
        {"socket://receipt.local", "tcp://receipt.local:9100"},
        {"socket://[fd00::20]:9101", "tcp://[fd00::20]:9101"},
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

// A scheduler on 127.0.0.1 that answers every request by asking for a password.
class PasswordScheduler
{
public:
    PasswordScheduler()
    {
        m_listener = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(m_listener, reinterpret_cast<sockaddr *>(&address), length) != 0 ||
            listen(m_listener, 4) != 0 ||
            getsockname(m_listener, reinterpret_cast<sockaddr *>(&address), &length) != 0)
            return;
        m_port = ntohs(address.sin_port);
        m_thread = std::thread([this] { serve(); });
    }
    ~PasswordScheduler()
    {
        m_stop = true;
        if (m_thread.joinable())
            m_thread.join();
        ::close(m_listener);
    }
    int port() const { return m_port; }

private:
    bool readable(int fd) const
    {
        pollfd entry{fd, POLLIN, 0};
        return ::poll(&entry, 1, 50) > 0;
    }
    void serve()
    {
        while (!m_stop) {
            if (!readable(m_listener))
                continue;
            const int client = accept(m_listener, nullptr, nullptr);
            QByteArray request;
            char chunk[4096];
            while (!m_stop && !request.contains("\r\n\r\n")) {
                if (!readable(client))
                    continue;
                const ssize_t got = ::read(client, chunk, sizeof chunk);
                if (got <= 0)
                    break;
                request.append(chunk, got);
            }
            static const char answer[] = "HTTP/1.1 401 Unauthorized\r\n"
                                         "WWW-Authenticate: Basic realm=\"CUPS\"\r\n"
                                         "Content-Length: 0\r\n\r\n";
            if (::write(client, answer, sizeof answer - 1) < 0)
                ADD_FAILURE() << "cannot answer the request";
            ::close(client);
        }
    }

    int m_listener = -1;
    int m_port = 0;
    std::atomic<bool> m_stop = false;
    std::thread m_thread;
};

std::atomic<int> passwordQuestions = 0;

const char *countQuestion(const char *, http_t *, const char *, const char *, void *)
{
    ++passwordQuestions;
    return nullptr;
}

TEST(CupsAnswer, ASchedulerAskingForAPasswordGetsNone)
{
    // CUPS's own answer reads a password from the terminal and would hold start-up for good.
    PasswordScheduler scheduler;
    ASSERT_NE(scheduler.port(), 0);
    cupsSetPasswordCB2(countQuestion, nullptr);
    passwordQuestions = 0;
    EXPECT_TRUE(CupsScheduler(QStringLiteral("127.0.0.1"), scheduler.port()).queues().isEmpty());
    EXPECT_EQ(passwordQuestions, 0);
}

} // namespace
