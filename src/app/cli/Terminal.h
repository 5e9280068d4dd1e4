#pragma once

// Qt-free: the Windows layer's tests build it without Qt.
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>

// True when the stream is attached to a terminal rather than a file or a pipe.
bool isTerminal(std::FILE *stream);

// Has handler called on SIGINT and SIGTERM. A read from the terminal that one of them
// interrupts returns instead of starting again, so a prompt hears Ctrl-C.
void catchTerminalSignals(void (*handler)(int));

// Lets bytes through the stream unchanged, where the platform would turn \n into \r\n.
void makeBinary(std::FILE *stream);

// The width of the terminal the stream writes to; 0 for a file or a pipe.
int terminalColumns(std::FILE *stream);

// The width a table written to the stream must fit: COLUMNS when it holds a number, else the
// terminal's; 0 (any width) for a file or a pipe.
inline int outputColumns(std::FILE *stream)
{
    int columns = 0;
    if (const char *text = std::getenv("COLUMNS")) {
        const char *end = text + std::strlen(text);
        if (std::from_chars(text, end, columns).ptr != end)
            columns = 0;
    }
    return columns > 0 ? columns : terminalColumns(stream);
}
