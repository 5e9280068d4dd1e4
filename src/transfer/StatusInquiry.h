#pragma once

#include "PrinterStatus.h"
#include "TransferLimits.h"
#include "Transmitter.h"

struct StatusReply
{
    enum class Outcome {
        Silent,   // the link carries no answers, or the printer sent nothing in time
        Garbled,  // the printer sent bytes, none of them a status answer
        Answered, // status holds what it said
        Late,     // it answered, then left question `question` unanswered within its wait
        Flooded,  // it sent `received` status bytes that no question asked for
        Failed,   // the link failed or the host stopped the wait; step says which
    };
    Outcome outcome = Outcome::Silent;
    PrinterStatus status;
    StepResult step;
    qint64 received = 0; // bytes the printer sent, for Garbled; unasked ones, for Flooded
    int question = 0;    // the n of DLE EOT n, for Late
};

// Asks the printer on the open link how it is, one question at a time: the first answer within
// limits.firstAnswer of the question leaving (a printer silent that long never answers), each
// further one within limits.nextAnswer. Status answers are single bytes that say nothing of their
// question, so one that comes late, or one nobody asked for, fails the inquiry instead of being
// taken for the next.
StatusReply inquireStatus(Transmitter &transmitter, const TransferLimits &limits);
