// orvane.com, the console program beside the windowed orvane.exe. A console finds it first
// for "orvane", so subcommands print to that console and set its exit code; without a
// subcommand it starts the window and returns the console at once, as a windowed program does.
#include "CommandLine.h"

#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

// What follows the program's own name on its command line, quoting untouched.
std::wstring argumentsAfterProgram(const wchar_t *line)
{
    if (*line == L'"') {
        const wchar_t *closing = std::wcschr(line + 1, L'"');
        return closing ? closing + 1 : L"";
    }
    return line + std::wcscspn(line, L" \t");
}

int openWindow()
{
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileNameW(nullptr, path.data(), DWORD(path.size()));
        if (length == 0)
            break;
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    const std::size_t dot = path.rfind(L'.');
    if (dot != std::wstring::npos)
        path.replace(dot, std::wstring::npos, L".exe");
    std::wstring commandLine = L"\"" + path + L"\"" + argumentsAfterProgram(GetCommandLineW());

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &process)) {
        std::fprintf(stderr, "orvane: cannot start the window (%ls): Windows error %lu\n",
                     path.c_str(), GetLastError());
        return 1;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return 0;
}

} // namespace

int main(int argc, char *argv[])
{
    if (isCommandLineInvocation(argc, argv))
        return runCommandLine(argc, argv);
    return openWindow();
}
