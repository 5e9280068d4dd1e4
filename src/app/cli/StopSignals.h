#pragma once

// SIGINT and SIGTERM ask a run over many printers to stop instead of ending the program.
void catchStopSignals();
// True once either came; safe to read from any thread.
bool stopSignalled();
