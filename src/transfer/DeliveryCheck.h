#pragma once

#include "Transmitter.h"

// Whether the printer has every byte of a job that has gone out. A printer that answered the
// status questions before the job is asked DLE EOT 1 once more: a real-time answer comes only
// once the printer has read every byte before the question. Any other printer is waited for
// where the link can tell that it read the stream to its end (a network printer's close).
StepResult confirmDelivery(Transmitter &transmitter, bool printerAnswers);
