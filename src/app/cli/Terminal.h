#pragma once

#include <cstdio>

// True when the stream is attached to a terminal rather than a file or a pipe.
bool isTerminal(std::FILE *stream);

// Has handler called on SIGINT and SIGTERM. A read from the terminal that one of them
// interrupts returns instead of starting again, so a prompt hears Ctrl-C.
void catchTerminalSignals(void (*handler)(int));
