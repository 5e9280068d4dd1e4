#include "modSerailIO.h"

#include "ComboBoxTarget.h"
#include "PortNames.h"

namespace {

const QString usedSuffix = QStringLiteral(" (Used)");

} // namespace

bool IsPortUsed(const QString &name, const QList<InstalledPrinter> &printers)
{
    for (const InstalledPrinter &printer : printers) {
        if (printer.port == name)
            return true;
    }
    return false;
}

void FillPortList(ComboBoxTarget &box, const PortCatalogue &catalogue)
{
    const QStringList ports = catalogue.ports();
    const QList<InstalledPrinter> printers = catalogue.printers();
    box.clear();
    for (auto it = ports.crbegin(); it != ports.crend(); ++it) {
        if (linkKindOf(*it) == LinkKind::None)
            continue;
        box.addItem(IsPortUsed(*it, printers) ? *it + usedSuffix : *it);
    }
    for (const QString &queue : catalogue.queues())
        box.addItem(queuePortText(queue));
    if (box.count() > 0)
        box.setCurrentIndex(0);
}

void FillComboList(ComboBoxTarget &box, const QStringList &values)
{
    box.clear();
    for (const QString &value : values)
        box.addItem(value);
    if (box.count() > 0)
        box.setCurrentIndex(0);
}
