#pragma once

#include "PortCatalogue.h"

// The catalogue read once: asking CUPS can take seconds, and start-up needs the printers twice.
class CatalogueSnapshot : public PortCatalogue
{
public:
    explicit CatalogueSnapshot(const PortCatalogue &catalogue)
        : m_ports(catalogue.ports())
        , m_printers(catalogue.printers())
    {}
    QStringList ports() const override { return m_ports; }
    QList<InstalledPrinter> printers() const override { return m_printers; }

private:
    QStringList m_ports;
    QList<InstalledPrinter> m_printers;
};
