#pragma once

#include <windows.h>

#include <string>

// COM9, the line on which the Linux side of the test lines (pty-peer) takes requests.
class ControlLine
{
public:
    ControlLine();
    ~ControlLine();
    ControlLine(const ControlLine &) = delete;
    ControlLine &operator=(const ControlLine &) = delete;

    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }
    bool send(const std::string &request);
    // The answer to the oldest request not yet answered; empty when none came within a minute.
    std::string answer();
    std::string request(const std::string &text) { return send(text) ? answer() : std::string(); }

private:
    HANDLE m_handle = INVALID_HANDLE_VALUE;
};
