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
    return printersFromQueues(m_queues->queues());
}

QStringList PosixPortCatalogue::queues() const
{
    QStringList names;
    for (const CupsQueue &queue : m_queues->queues())
        names.append(queue.name);
    return names;
}

std::unique_ptr<PortCatalogue> createSystemCatalogue()
{
    return std::make_unique<PosixPortCatalogue>(DeviceRoots{}, std::make_unique<CupsScheduler>());
}
