#include "NetworkAddress.h"
#include "AddressRange.h"
#include "CatalogueSnapshot.h"
#include "PortNames.h"
#include "QStringPrinter.h"
#include "RecordingComboBox.h"
#include "modSerailIO.h"

#include <gtest/gtest.h>

namespace {

TEST(NetworkAddress, ReadsTcpUrlsAndHostPortPairs)
{
    const struct
    {
        const char *text;
        const char *address; // HOST:PORT, or empty for no network address
    } table[] = {
        {"tcp://192.168.1.20", "192.168.1.20:9100"},
        {"tcp://192.168.1.20:9101", "192.168.1.20:9101"},
        {"TCP://receipt.local", "receipt.local:9100"},
        {"receipt-80.example.com:9100", "receipt-80.example.com:9100"},
        {"127.0.0.1:1", "127.0.0.1:1"},
        {"127.0.0.1:65535", "127.0.0.1:65535"},
        {"tcp://[fd00::20]", "[fd00::20]:9100"},
        {"[::1]:9100", "[::1]:9100"},
        // Only tcp:// may leave the port out; a port is 1 to 65535 in digits.
        {"receipt.local", ""},
        {"tcp://host:", ""},
        {"host:0", ""},
        {"host:65536", ""},
        {"host:91a", ""},
        {"host:9100:1", ""},
        {"tcp://", ""},
        // Names the port box also shows, and texts that name no printer.
        {"tcp://host:9100 (Used)", ""},
        {" host:9100", ""},
        {"-host:9100", ""},
        {"[not-ipv6]:9100", ""},
        {"C:\\\\printer", ""},
        {"FILE:", ""},
    };
    for (const auto &row : table) {
        const std::optional<NetworkAddress> address = networkAddressOf(QString::fromUtf8(row.text));
        EXPECT_EQ(address ? address->text() : QString(), QString::fromUtf8(row.address))
            << row.text;
    }
    EXPECT_EQ(networkAddressOf("[fd00::20]:9101")->portText(), "tcp://[fd00::20]:9101");
}

TEST(NetworkAddress, IsAThirdKindBesideComAndLpt)
{
    EXPECT_EQ(linkKindOf("tcp://10.0.0.5"), LinkKind::Network);
    EXPECT_EQ(linkKindOf("10.0.0.5:9100"), LinkKind::Network);
    // COM and LPT names keep their meaning, whatever follows the colon.
    EXPECT_EQ(linkKindOf("COM1:"), LinkKind::Serial);
    EXPECT_EQ(linkKindOf("COM1:9600"), LinkKind::Serial);
    EXPECT_EQ(linkKindOf("LPT1:"), LinkKind::Parallel);
    EXPECT_FALSE(IsComPort("tcp://10.0.0.5"));
    EXPECT_FALSE(IsLptPort("tcp://10.0.0.5"));
    // queue:NAME is a print queue even where NAME reads as a port number.
    EXPECT_EQ(linkKindOf("queue:9100"), LinkKind::Queue);
    EXPECT_EQ(queueNameOf("queue:Kitchen 2"), QStringLiteral("Kitchen 2"));
    EXPECT_EQ(linkKindOf("queue:"), LinkKind::None);
}

TEST(NetworkAddress, APrintQueueOnTheNetworkIsListedAsUsed)
{
    class Machine : public PortCatalogue
    {
    public:
        QStringList ports() const override { return {"/dev/usb/lp0", "/dev/ttyUSB0"}; }
        QList<InstalledPrinter> printers() const override
        {
            return {{"tcp://10.0.0.5:9100", "Kitchen"}, {"/dev/usb/lp0", "Counter"}};
        }
    };
    RecordingComboBox box;
    FillPortList(box, CatalogueSnapshot(Machine()));
    EXPECT_EQ(box.items,
              QStringList({"/dev/ttyUSB0", "/dev/usb/lp0 (Used)", "tcp://10.0.0.5:9100 (Used)"}));
}

TEST(NetworkAddress, ARangeToScanIsANetworkOfAtMost4096AddressesOrOneAddress)
{
    const struct
    {
        const char *text;
        const char *first; // empty: refused
        quint32 count;
        const char *last;
    } table[] = {
        {"127.0.0.0/27", "127.0.0.0", 32, "127.0.0.31"},
        {"127.0.0.77/24", "127.0.0.0", 256, "127.0.0.255"}, // host bits dropped
        {"127.1.2.3", "127.1.2.3", 1, "127.1.2.3"},
        {"127.0.16.9/20", "127.0.16.0", 4096, "127.0.31.255"},
        {"127.0.0.1/32", "127.0.0.1", 1, "127.0.0.1"},
        {"127.0.0.0/19", "", 0, ""},
        {"127.0.0.0/33", "", 0, ""},
        {"127.0.0.256", "", 0, ""},
        {"127.0.0", "", 0, ""},
        {"127.0.0.+1", "", 0, ""},
        {"127.0.0.1/", "", 0, ""},
        {"localhost", "", 0, ""},
    };
    for (const auto &row : table) {
        SCOPED_TRACE(row.text);
        const std::optional<AddressRange> range = addressRangeOf(row.text);
        ASSERT_EQ(range.has_value(), *row.first != 0);
        if (!range)
            continue;
        EXPECT_EQ(range->address(0), row.first);
        EXPECT_EQ(range->count, row.count);
        EXPECT_EQ(range->address(range->count - 1), row.last);
    }
}

} // namespace
