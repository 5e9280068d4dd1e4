#pragma once

#include <cups/cups.h>

#include <chrono>

// A connection to the CUPS scheduler that never waits for good: it gives up connecting after
// connectLimit and on any answer slower than answerLimit, and a scheduler that asks for a
// password is refused instead of prompting on a terminal. Null when no scheduler answers.
http_t *connectToScheduler(const char *server, int port, std::chrono::milliseconds connectLimit,
                           std::chrono::milliseconds answerLimit);
