#pragma once

// True when the arguments name a subcommand, so Orvane runs without a window.
bool isCommandLineInvocation(int argc, char *argv[]);
// Runs the subcommand; 0 on success, 1 on failure, 2 on wrong usage.
int runCommandLine(int argc, char *argv[]);
