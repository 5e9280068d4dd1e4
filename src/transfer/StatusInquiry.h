#pragma once

#include "PrinterStatus.h"
#include "Transmitter.h"

#include <chrono>

struct StatusReply
{
    enum class Outcome {
        Silent,   // the link carries no answers, or the printer sent nothing in time
        Garbled,  // the printer sent bytes, none of them a status answer
        Answered, // status holds what it said
        Failed,   // the link failed or the host stopped the wait; step says which
    };
    Outcome outcome = Outcome::Silent;
    PrinterStatus status;
    StepResult step;
    qint64 received = 0; // bytes the printer sent, for a garbled reply
};

// Asks the printer on the open link how it is. The wait for the first answer counts from
// before the questions leave, so a silent printer costs at most firstAnswer.
StatusReply inquireStatus(Transmitter &transmitter, std::chrono::milliseconds firstAnswer);
