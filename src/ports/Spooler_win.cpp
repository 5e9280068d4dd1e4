#include "Spooler_win.h"

#include <windows.h>
#include <winspool.h>

#include <cmath>

std::wstring StringFromPointer(const char *text)
{
    if (!text)
        return {};
    const int length = lstrlenA(text);
    if (length == 0)
        return {};
    std::string ansi(static_cast<size_t>(length), ' ');
    lstrcpyA(ansi.data(), text);
    const int wide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, nullptr, 0);
    std::wstring result(static_cast<size_t>(wide), L' ');
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), length, result.data(), wide);
    return result;
}

std::vector<std::wstring> spoolerPortNames()
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsA(nullptr, 2, nullptr, 0, &needed, &returned);

    // Whole records with room to spare, as the spooler puts its texts behind them.
    const size_t last = static_cast<size_t>(
        std::nearbyint(static_cast<double>(needed) / sizeof(PORT_INFO_2A) + 1.0));
    std::vector<PORT_INFO_2A> records(last + 1);
    const DWORD bytes = static_cast<DWORD>(records.size() * sizeof(PORT_INFO_2A));
    returned = 0;
    if (!EnumPortsA(nullptr, 2, reinterpret_cast<LPBYTE>(records.data()), bytes, &needed,
                    &returned))
        return {};

    std::vector<std::wstring> names;
    for (DWORD i = 0; i < returned && i < records.size(); ++i)
        names.push_back(StringFromPointer(records[i].pPortName));
    return names;
}

std::vector<SpoolerPrinter> spoolerPrinters()
{
    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPrintersA(flags, nullptr, 2, nullptr, 0, &needed, &returned);
    if (needed == 0)
        return {};

    std::vector<PRINTER_INFO_2A> records(needed / sizeof(PRINTER_INFO_2A) + 1);
    const DWORD bytes = static_cast<DWORD>(records.size() * sizeof(PRINTER_INFO_2A));
    returned = 0;
    if (!EnumPrintersA(flags, nullptr, 2, reinterpret_cast<LPBYTE>(records.data()), bytes, &needed,
                       &returned))
        return {};

    std::vector<SpoolerPrinter> printers;
    for (DWORD i = 0; i < returned && i < records.size(); ++i)
        printers.push_back(
            {StringFromPointer(records[i].pPortName), StringFromPointer(records[i].pPrinterName)});
    return printers;
}
