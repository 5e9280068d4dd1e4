#pragma once

#include <chrono>
#include <optional>

class EscPosParser;
class Recorder;
class Transport;

struct ServeOptions
{
    int baud = 0; // 0: read as fast as possible
    // Quiet time after which the printer stops, once something has been received.
    std::optional<std::chrono::nanoseconds> exitAfterIdle;
};

// Reads the transport until a stop signal (or the idle time-out), recording every byte and
// feeding the parser. A command ends only with its bytes or with the client's connection, as
// on a real printer, which waits however long the host pauses.
void serve(Transport &transport, EscPosParser &parser, Recorder &recorder,
           const ServeOptions &options);
