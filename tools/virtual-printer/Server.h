#pragma once

#include <chrono>
#include <optional>

class EscPosParser;
class Recorder;
class Transport;

struct ServeOptions
{
    int baud = 0; // 0: read as fast as possible
    // Quiet time in the middle of a command after which the stream counts as ended.
    std::chrono::nanoseconds stallTime = std::chrono::seconds(2);
    // Quiet time after which the printer stops, once something has been received.
    std::optional<std::chrono::nanoseconds> exitAfterIdle;
};

// Reads the transport until a stop signal (or the idle time-out), recording every byte and
// feeding the parser.
void serve(Transport &transport, EscPosParser &parser, Recorder &recorder,
           const ServeOptions &options);
