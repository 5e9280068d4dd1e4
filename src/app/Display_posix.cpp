#include "Display.h"

#include <QtGlobal>

#include <cstring>

bool displayAvailable(int argc, char *argv[])
{
    // A platform chosen by name (offscreen, vnc, ...) needs no display of the session.
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        return true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return !qEnvironmentVariableIsEmpty("DISPLAY") ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}
