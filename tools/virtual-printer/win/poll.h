#pragma once

// poll() as Winsock has it (WSAPoll), for the printer's waits written against POSIX.
#include <winsock2.h>

using nfds_t = unsigned long;
