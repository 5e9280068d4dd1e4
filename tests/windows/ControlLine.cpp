#include "ControlLine.h"

ControlLine::ControlLine()
{
    m_handle = CreateFileW(L"\\\\.\\COM9", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (!isOpen())
        return;
    // A bound for a peer that never answers; an answer ends each read as soon as it arrives.
    COMMTIMEOUTS timeouts = {};
    timeouts.ReadTotalTimeoutConstant = 60000;
    timeouts.WriteTotalTimeoutConstant = 60000;
    SetCommTimeouts(m_handle, &timeouts);
}

ControlLine::~ControlLine()
{
    if (isOpen())
        CloseHandle(m_handle);
}

bool ControlLine::send(const std::string &request)
{
    const std::string line = request + "\n";
    DWORD written = 0;
    return WriteFile(m_handle, line.data(), DWORD(line.size()), &written, nullptr) &&
           written == line.size();
}

std::string ControlLine::answer()
{
    std::string answer;
    char c = 0;
    DWORD got = 0;
    while (ReadFile(m_handle, &c, 1, &got, nullptr) && got == 1 && c != '\n')
        answer += c;
    return c == '\n' ? answer : std::string();
}
