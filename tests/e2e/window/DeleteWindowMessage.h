#pragma once

#include <string>

// Asks a top-level window to close as a window manager does: WM_DELETE_WINDOW.
// Kept apart from Qt: Xlib's macros (None, Bool, Status) clash with Qt names.
bool postDeleteWindow(const std::string &display, unsigned long window);
