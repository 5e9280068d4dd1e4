#pragma once

#include "PrinterStallLimit.h"

#include <algorithm>
#include <chrono>

// How long a transfer waits for the printer before it gives up.
struct TransferLimits
{
    // A wait for CTS or for the transmit buffer to drain, without any sign of progress.
    std::chrono::milliseconds stall = PrinterStallLimit;
    // The wait for the printer to finish storing (CTS back after the last record).
    std::chrono::milliseconds completion = std::chrono::minutes(3);
    // The wait for the first answer to a status question; a printer silent that long is
    // taken for one that never answers.
    std::chrono::milliseconds firstAnswer = std::chrono::milliseconds(300);
    // The wait for the answer to a question about the NV graphics store from a printer that
    // answered the status questions; one that does not know NV graphics never answers.
    std::chrono::milliseconds graphicsAnswer = std::chrono::seconds(2);
    // The time a printer may take to list each stored graphic; a long list takes minutes.
    std::chrono::milliseconds keyListPerGraphic = std::chrono::milliseconds(1500);
    // The wait for each further answer of a printer that has answered: it is known to answer,
    // and an answer later than this is never taken for the next question's.
    std::chrono::milliseconds nextAnswer = std::chrono::seconds(2);

    // The wait for the whole key list of that many graphics, never under the completion wait.
    std::chrono::milliseconds keyList(int graphics) const
    {
        return std::max(completion, keyListPerGraphic * graphics);
    }
};
