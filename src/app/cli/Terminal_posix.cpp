#include "Terminal.h"

#include <sys/ioctl.h>
#include <unistd.h>

bool isTerminal(std::FILE *stream)
{
    return isatty(fileno(stream)) != 0;
}

void makeBinary(std::FILE *) {}

int terminalColumns(std::FILE *stream)
{
    winsize size{};
    if (isatty(fileno(stream)) && ioctl(fileno(stream), TIOCGWINSZ, &size) == 0)
        return size.ws_col;
    return 0;
}
