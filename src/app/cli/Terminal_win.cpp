#include "Terminal.h"

#include <csignal>
#include <fcntl.h>
#include <io.h>
#include <windows.h>

namespace {

HANDLE handleOf(std::FILE *stream)
{
    return reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
}

} // namespace

bool isTerminal(std::FILE *stream)
{
    // _isatty is true for any character device, NUL included; only a console has a mode.
    const HANDLE handle = handleOf(stream);
    DWORD mode = 0;
    return handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode);
}

void catchTerminalSignals(void (*handler)(int))
{
    // A console read that Ctrl-C interrupts ends with an error; it is not started again.
    std::signal(SIGINT, handler);
    std::signal(SIGTERM, handler);
}

void makeBinary(std::FILE *stream)
{
    _setmode(_fileno(stream), _O_BINARY);
}

int terminalColumns(std::FILE *stream)
{
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (isTerminal(stream) && GetConsoleScreenBufferInfo(handleOf(stream), &info))
        return info.srWindow.Right - info.srWindow.Left + 1;
    return 0;
}
