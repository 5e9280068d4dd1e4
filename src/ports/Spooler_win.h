#pragma once

#include <string>
#include <vector>

struct SpoolerPrinter
{
    std::wstring port;
    std::wstring name;
};

// The plain conversion of a NUL-terminated ANSI text through the system ANSI code page.
std::wstring StringFromPointer(const char *text);

// Port names in the spooler's order; empty when the enumeration fails.
std::vector<std::wstring> spoolerPortNames();
// Local and connected printers in the spooler's order.
std::vector<SpoolerPrinter> spoolerPrinters();
