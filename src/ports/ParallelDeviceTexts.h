#pragma once

#include <QString>

#include <chrono>

// Why a write to a printer device failed when the printer took no data for limit.
QString parallelStalledText(std::chrono::milliseconds limit);
