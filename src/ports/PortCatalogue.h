#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <memory>

struct InstalledPrinter
{
    QString port;       // the port text the printer sits on, e.g. COM1: or /dev/usb/lp0
    QString deviceName; // the printer's name
};

// The machine's ports and installed printers, as the platform lists them.
class PortCatalogue
{
public:
    virtual ~PortCatalogue() = default;
    // Port names in the platform's enumeration order (the port box shows them reversed).
    virtual QStringList ports() const = 0;
    virtual QList<InstalledPrinter> printers() const = 0;
    // The names of the system's print queues, each a port of its own (queue:NAME).
    virtual QStringList queues() const { return {}; }
};

std::unique_ptr<PortCatalogue> createSystemCatalogue();
