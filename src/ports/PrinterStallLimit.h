#pragma once

#include <chrono>

// How long any link waits for a printer that takes no bytes before the job fails.
inline constexpr std::chrono::milliseconds PrinterStallLimit = std::chrono::seconds(30);
