#include "RecordingComboBox.h"
#include "modSerailIO.h"

#include "QStringPrinter.h"

#include <gtest/gtest.h>

namespace {

class ScriptedCatalogue : public PortCatalogue
{
public:
    ScriptedCatalogue(QStringList ports, QList<InstalledPrinter> printers, QStringList queues)
        : m_ports(std::move(ports))
        , m_printers(std::move(printers))
        , m_queues(std::move(queues))
    {}
    QStringList ports() const override { return m_ports; }
    QList<InstalledPrinter> printers() const override { return m_printers; }
    QStringList queues() const override { return m_queues; }

private:
    QStringList m_ports;
    QList<InstalledPrinter> m_printers;
    QStringList m_queues;
};

RecordingComboBox filledPortBox(const QStringList &ports, const QList<InstalledPrinter> &printers,
                                const QStringList &queues = {})
{
    RecordingComboBox box;
    box.addItem(QStringLiteral("left over"));
    FillPortList(box, ScriptedCatalogue(ports, printers, queues));
    return box;
}

TEST(FillPortList, ListsComAndLptPortsReversedAndMarksTheUsedOneThenTheQueues)
{
    const RecordingComboBox box = filledPortBox({"LPT1:", "COM1:", "COM2:", "FILE:"},
                                                {{"LPT1:", "Receipt"}}, {"Receipt", "Bar 2"});
    EXPECT_EQ(box.items,
              QStringList({"COM2:", "COM1:", "LPT1: (Used)", "queue:Receipt", "queue:Bar 2"}));
    EXPECT_EQ(box.clears, 1);
    EXPECT_EQ(box.currentIndex, 0);
    EXPECT_EQ(box.text, QStringLiteral("COM2:"));
}

TEST(FillPortList, KeepsNamesAsTheyAre)
{
    const RecordingComboBox box = filledPortBox({"COM12:", "COM5", "USB001", "NUL:"}, {});
    EXPECT_EQ(box.items, QStringList({"COM5", "COM12:"}));
}

TEST(FillPortList, MarksAPortOnceForTwoPrinters)
{
    const RecordingComboBox box =
        filledPortBox({"COM1:", "COM2:"}, {{"COM1:", "Kitchen"}, {"COM1:", "Bar"}});
    EXPECT_EQ(box.items, QStringList({"COM2:", "COM1: (Used)"}));
}

TEST(FillPortList, ComparesPrinterPortsExactly)
{
    const RecordingComboBox box = filledPortBox(
        {"COM1:", "LPT1:", "FILE:"},
        {{"com1:", "Lower"}, {"FILE:", "Writer"}, {"LPT1: ", "Spaced"}, {"LPT1", "Bare"}});
    EXPECT_EQ(box.items, QStringList({"LPT1:", "COM1:"}));
}

TEST(FillPortList, LeavesAnEmptyBoxWithoutSelection)
{
    for (const QStringList &ports : {QStringList(), QStringList({"FILE:", "XPSPort:"})}) {
        const RecordingComboBox box = filledPortBox(ports, {{"FILE:", "Writer"}});
        EXPECT_TRUE(box.items.isEmpty());
        EXPECT_TRUE(box.text.isEmpty());
        EXPECT_EQ(box.currentIndex, -1);
    }
}

TEST(FillComboList, AddsTheValuesInOrderAndSelectsTheFirst)
{
    RecordingComboBox box;
    box.addItem(QStringLiteral("Combo1"));
    FillComboList(box, {"9600", "19200", "38400", "115200"});
    EXPECT_EQ(box.items, QStringList({"9600", "19200", "38400", "115200"}));
    EXPECT_EQ(box.currentIndex, 0);
    EXPECT_EQ(box.text, QStringLiteral("9600"));

    FillComboList(box, {});
    EXPECT_TRUE(box.items.isEmpty());
    EXPECT_EQ(box.currentIndex, -1);
}

} // namespace
