#pragma once

// Whether a window can open: Qt aborts the process when its platform finds no display.
bool displayAvailable(int argc, char *argv[]);
