#include "ParallelDeviceTexts.h"

QString parallelStalledText(std::chrono::milliseconds limit)
{
    return QStringLiteral("the printer took no data for %1 s (out of paper, offline or switched "
                          "off?)")
        .arg(std::chrono::duration<double>(limit).count());
}
