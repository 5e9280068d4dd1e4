#include "PosixPortCatalogue.h"

#include <utility>

PosixPortCatalogue::PosixPortCatalogue(DeviceRoots roots, std::unique_ptr<CupsQueueSource> queues)
    : m_roots(std::move(roots))
    , m_queues(std::move(queues))
{}

QStringList PosixPortCatalogue::ports() const
{
    return scanPortDevices(m_roots);
}

QList<InstalledPrinter> PosixPortCatalogue::printers() const
{
    return printersFromQueues(cupsQueues());
}

QStringList PosixPortCatalogue::queues() const
{
    QStringList names;
    for (const CupsQueue &queue : cupsQueues())
        names.append(queue.name);
    return names;
}

const QList<CupsQueue> &PosixPortCatalogue::cupsQueues() const
{
    if (!m_cupsQueues)
        m_cupsQueues = m_queues->queues();
    return *m_cupsQueues;
}

std::unique_ptr<PortCatalogue> createSystemCatalogue()
{
    return std::make_unique<PosixPortCatalogue>(DeviceRoots{}, std::make_unique<CupsScheduler>());
}
