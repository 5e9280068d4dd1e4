#pragma once

#include "PortCatalogue.h"
#include "PortNames.h"

// The catalogue read once: asking CUPS can take seconds, and start-up needs the printers twice.
// A network printer's port joins the ports, since no device scan finds it; the box lists it
// after the local ones.
class CatalogueSnapshot : public PortCatalogue
{
public:
    explicit CatalogueSnapshot(const PortCatalogue &catalogue)
        : m_ports(catalogue.ports())
        , m_printers(catalogue.printers())
        , m_queues(catalogue.queues())
    {
        for (const InstalledPrinter &printer : m_printers) {
            if (linkKindOf(printer.port) == LinkKind::Network && !m_ports.contains(printer.port))
                m_ports.prepend(printer.port);
        }
    }
    QStringList ports() const override { return m_ports; }
    QList<InstalledPrinter> printers() const override { return m_printers; }
    QStringList queues() const override { return m_queues; }

private:
    QStringList m_ports;
    QList<InstalledPrinter> m_printers;
    QStringList m_queues;
};
