#pragma once

#include <cstdio>

// True when the stream is attached to a terminal rather than a file or a pipe.
bool isTerminal(std::FILE *stream);
