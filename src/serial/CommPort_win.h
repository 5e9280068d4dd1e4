#pragma once

#include "CommWriter_win.h"
#include "OpenFailure.h"

#include <windows.h>

#include <cstddef>
#include <memory>
#include <string>

// The line settings in the terms of a DCB.
struct CommLine
{
    DWORD rate = 9600;
    BYTE dataBits = 8;
    BYTE parity = NOPARITY;
    BYTE stopBits = ONESTOPBIT;
};

// A COM port opened exclusively through Win32: writes queue and return at once, reads never
// wait, and closing is bounded even while the peer holds CTS low.
class CommPort
{
public:
    CommPort() = default;
    ~CommPort();

    CommPort(const CommPort &) = delete;
    CommPort &operator=(const CommPort &) = delete;

    // Opens name (COM5, or a path such as \\.\COM12) with line; ERROR_SUCCESS, or the Win32
    // error of the step that failed, with the port left closed.
    DWORD open(const std::wstring &name, const CommLine &line, bool rtsCts);
    bool isOpen() const { return m_handle != INVALID_HANDLE_VALUE; }

    // RTS/CTS handshaking on or off on the open port; ERROR_SUCCESS or the Win32 error.
    DWORD setRtsCts(bool on);

    // The CTS line; true on a line without modem status, which never holds the sender back.
    bool clearToSend() const;

    // Bytes queued and not yet sent: those waiting here and those the driver still holds.
    std::size_t outputCount() const;

    void write(const char *bytes, std::size_t size);

    // The Win32 error of the first failed write since the open; ERROR_SUCCESS while none has.
    DWORD writeError() const;

    // What arrived since the last read, at most the newest limit bytes of it.
    std::string read(std::size_t limit);

    // Sends what is queued for at most timeoutMs, throws away what is left and closes; the
    // number of bytes that were not sent.
    std::size_t close(DWORD timeoutMs);

private:
    std::size_t driverQueue() const;
    DWORD readChunk(char *buffer, DWORD size);

    HANDLE m_handle = INVALID_HANDLE_VALUE;
    HANDLE m_readEvent = nullptr;
    std::unique_ptr<CommWriter> m_writer;
};

// The category of a Win32 error from opening a COM port.
OpenFailure classifyCommOpenError(DWORD error);

// True when a write failed because the device went away (adapter pulled, driver gone).
bool isCommDeviceGone(DWORD error);
