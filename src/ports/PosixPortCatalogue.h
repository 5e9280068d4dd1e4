#pragma once

#include "CupsQueues.h"
#include "PortCatalogue.h"

#include <memory>
#include <optional>

// Where the device files and sysfs live; tests point these at a folder of their own.
struct DeviceRoots
{
    QString devRoot = QStringLiteral("/dev");
    QString sysRoot = QStringLiteral("/sys");
};

// Serial ports with hardware behind them, then raw printer device files (usb/lp*, then lp*),
// each group in natural order, listed from the last so that the port box, which FillPortList
// fills from the end, shows that order. Reads sysfs and looks at file names only: no device is
// opened.
QStringList scanPortDevices(const DeviceRoots &roots);

// Ports from the device files, installed printers from the CUPS queues on local ports.
class PosixPortCatalogue : public PortCatalogue
{
public:
    PosixPortCatalogue(DeviceRoots roots, std::unique_ptr<CupsQueueSource> queues);
    QStringList ports() const override;
    QList<InstalledPrinter> printers() const override;
    QStringList queues() const override;

private:
    // Asked once: the printers and the queues come from the same answer, which may take seconds.
    const QList<CupsQueue> &cupsQueues() const;

    DeviceRoots m_roots;
    std::unique_ptr<CupsQueueSource> m_queues;
    mutable std::optional<QList<CupsQueue>> m_cupsQueues;
};
