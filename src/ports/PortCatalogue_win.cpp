#include "PortCatalogue.h"
#include "Spooler_win.h"

namespace {

class SpoolerCatalogue : public PortCatalogue
{
public:
    QStringList ports() const override
    {
        QStringList names;
        for (const std::wstring &name : spoolerPortNames())
            names.append(QString::fromStdWString(name));
        return names;
    }

    QList<InstalledPrinter> printers() const override
    {
        QList<InstalledPrinter> printers;
        for (const SpoolerPrinter &printer : spoolerPrinters())
            printers.append(
                {QString::fromStdWString(printer.port), QString::fromStdWString(printer.name)});
        return printers;
    }

    QStringList queues() const override
    {
        QStringList names;
        for (const SpoolerPrinter &printer : spoolerPrinters())
            names.append(QString::fromStdWString(printer.name));
        return names;
    }
};

} // namespace

std::unique_ptr<PortCatalogue> createSystemCatalogue()
{
    return std::make_unique<SpoolerCatalogue>();
}
