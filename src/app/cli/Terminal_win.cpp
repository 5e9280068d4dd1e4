#include "Terminal.h"

#include <csignal>
#include <io.h>
#include <windows.h>

bool isTerminal(std::FILE *stream)
{
    // _isatty is true for any character device, NUL included; only a console has a mode.
    const auto handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

void catchTerminalSignals(void (*handler)(int))
{
    // A console read that Ctrl-C interrupts ends with an error; it is not started again.
    std::signal(SIGINT, handler);
    std::signal(SIGTERM, handler);
}
