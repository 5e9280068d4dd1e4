#include "ControlLine.h"
#include "PrintQueueJob.h"
#include "Spooler_win.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

#include <windows.h>
#include <winspool.h>

#include <algorithm>
#include <vector>

namespace {

// The spooler's port names through the wide API, sized the documented way.
std::vector<std::wstring> portNamesByLevel1()
{
    DWORD needed = 0;
    DWORD returned = 0;
    EnumPortsW(nullptr, 1, nullptr, 0, &needed, &returned);
    std::vector<BYTE> buffer(needed);
    if (!EnumPortsW(nullptr, 1, buffer.data(), needed, &needed, &returned))
        return {};
    const auto *records = reinterpret_cast<const PORT_INFO_1W *>(buffer.data());
    std::vector<std::wstring> names;
    for (DWORD i = 0; i < returned; ++i)
        names.emplace_back(records[i].pName);
    return names;
}

bool addPort(const wchar_t *name)
{
    HKEY ports = nullptr;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE,
                        L"Software\\Microsoft\\Windows NT\\CurrentVersion\\Ports", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &ports, nullptr) != ERROR_SUCCESS)
        return false;
    const LONG status = RegSetValueExW(ports, name, 0, REG_SZ, reinterpret_cast<const BYTE *>(L""),
                                       sizeof(wchar_t));
    RegCloseKey(ports);
    return status == ERROR_SUCCESS;
}

bool addPrinter(const wchar_t *name, const wchar_t *port, const wchar_t *driver)
{
    PRINTER_INFO_2W info = {};
    info.pPrinterName = const_cast<wchar_t *>(name);
    info.pPortName = const_cast<wchar_t *>(port);
    info.pDriverName = const_cast<wchar_t *>(driver);
    info.pPrintProcessor = const_cast<wchar_t *>(L"WinPrint");
    info.pDatatype = const_cast<wchar_t *>(L"RAW");
    const HANDLE printer = AddPrinterW(nullptr, 2, reinterpret_cast<BYTE *>(&info));
    if (!printer)
        return false;
    ClosePrinter(printer);
    return true;
}

bool addDriver(const wchar_t *name)
{
    wchar_t system[MAX_PATH];
    GetSystemDirectoryW(system, MAX_PATH);
    const std::wstring driver = std::wstring(system) + L"\\wineps.drv";
    DRIVER_INFO_3W info = {};
    info.cVersion = 3;
    info.pName = const_cast<wchar_t *>(name);
    info.pDriverPath = const_cast<wchar_t *>(driver.c_str());
    info.pDataFile = const_cast<wchar_t *>(driver.c_str());
    info.pConfigFile = const_cast<wchar_t *>(driver.c_str());
    return AddPrinterDriverExW(nullptr, 3, reinterpret_cast<BYTE *>(&info),
                               APD_COPY_NEW_FILES | APD_COPY_FROM_DIRECTORY);
}

TEST(Spooler, ListsItsPortsAndThePrintersOnThem)
{
    ASSERT_TRUE(addPort(L"COM5:"));
    const std::vector<std::wstring> names = spoolerPortNames();
    // The ANSI records, sized from the spooler's answer with the few records to spare the
    // port box relies on, hold every port in the spooler's order.
    EXPECT_EQ(names, portNamesByLevel1());
    EXPECT_NE(std::find(names.begin(), names.end(), L"COM5:"), names.end());
    EXPECT_NE(std::find(names.begin(), names.end(), L"LPT1:"), names.end());

    ASSERT_TRUE(addDriver(L"Orvane Test Driver")) << GetLastError();
    ASSERT_TRUE(addPrinter(L"Receipt on COM5", L"COM5:", L"Orvane Test Driver")) << GetLastError();
    ASSERT_TRUE(addPrinter(L"Receipt on LPT1", L"LPT1:", L"Orvane Test Driver")) << GetLastError();
    // The port texts are the listed names exactly: the port box marks those ports " (Used)"
    // and the driver line names the printer when the box holds such a name.
    const std::vector<SpoolerPrinter> printers = spoolerPrinters();
    const auto on = [&](const std::wstring &port) {
        const auto found = std::find_if(printers.begin(), printers.end(),
                                        [&](const SpoolerPrinter &p) { return p.port == port; });
        return found == printers.end() ? std::wstring() : found->name;
    };
    EXPECT_EQ(on(L"COM5:"), L"Receipt on COM5");
    EXPECT_EQ(on(L"LPT1:"), L"Receipt on LPT1");
    EXPECT_EQ(on(L"COM1:"), L"");
}

// A printer on a port named by the Unix path of LPT1's pseudo-terminal, whose Linux side checks
// every byte the spooler hands on (Wine's port monitor writes only to such ports and to FILE:);
// the job has left the spooler once it no longer holds it.
TEST(Spooler, ARawJobReachesThePrinterByteForByte)
{
    ControlLine control;
    ASSERT_TRUE(control.isOpen()) << GetLastError();
    const wchar_t *prefix = _wgetenv(L"WINEPREFIX");
    ASSERT_NE(prefix, nullptr);
    const std::wstring port = std::wstring(prefix) + L"/dosdevices/lpt1";
    ASSERT_TRUE(addPort(port.c_str()));
    ASSERT_TRUE(addDriver(L"Orvane Test Driver")) << GetLastError();
    ASSERT_TRUE(addPrinter(L"Receipt queue", port.c_str(), L"Orvane Test Driver"))
        << GetLastError();

    std::string said;
    EXPECT_EQ(createPrintQueueJob("No such printer")->verdict(said),
              PrintQueueJob::Verdict::Unknown);
    EXPECT_FALSE(said.empty());

    const std::unique_ptr<PrintQueueJob> job = createPrintQueueJob("Receipt queue");
    ASSERT_EQ(job->verdict(said), PrintQueueJob::Verdict::Takes) << said;
    // Small enough to wait in the line's buffer, so the request can follow the job.
    const std::vector<char> bytes = testPattern(2048);
    ASSERT_TRUE(job->start()) << job->error();
    ASSERT_TRUE(job->write(bytes.data(), bytes.size())) << job->error();
    ASSERT_TRUE(job->finish()) << job->error();
    using Phase = PrintQueueJob::Phase;
    Phase phase = Phase::Pending;
    for (int poll = 0; poll < 600 && (phase == Phase::Pending || phase == Phase::Printing ||
                                      phase == Phase::Unanswered);
         ++poll) {
        Sleep(100);
        phase = job->phase(said);
    }
    // The spooler forgets a job once its port has it and keeps no word of how it ended: only
    // the link, which may have seen it printing, can call it completed.
    EXPECT_EQ(phase, Phase::Gone) << said;
    EXPECT_EQ(control.request("expect lpt1 " + std::to_string(bytes.size())), "ok");
}

} // namespace
