#pragma once

// SIGINT and SIGTERM ask a run over many printers to stop instead of ending the program; the
// first also ends a wait at the terminal's prompt, a second ends the program at once.
void catchStopSignals();
// True once either came; safe to read from any thread.
bool stopSignalled();
