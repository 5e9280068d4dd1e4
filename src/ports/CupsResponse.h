#pragma once

#include "CupsQueues.h"

#include <cups/ipp.h>

// The printer groups of a CUPS-Get-Printers answer; a group without a printer-name is skipped.
QList<CupsQueue> queuesFromResponse(ipp_t *response);
