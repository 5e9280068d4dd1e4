#include "CommQueue_win.h"
#include "ControlLine.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// COM5 is a pseudo-terminal on the Linux side. Orvane's serial control is QSerialPort, which
// Debian does not build for Windows: these tests open and set up the port as QSerialPort does
// on Windows (overlapped, DCB) and check Orvane's own Win32 calls on that handle. Wine's
// pseudo-terminals have no modem lines (GetCommModemStatus fails with error 50), so CTS pacing
// is not covered, and report an empty driver queue (TIOCOUTQ is 0), so the queue's count is not
// either: only that the queue answers, also while a write waits for the line.

namespace {

class CommPort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(control.isOpen()) << GetLastError();
        port = CreateFileW(L"\\\\.\\COM5", GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                           FILE_FLAG_OVERLAPPED, nullptr);
        ASSERT_NE(port, INVALID_HANDLE_VALUE) << GetLastError();
        // Settings 115200,n,8,1 with Handshaking 2, as QSerialPort applies them.
        DCB line = {};
        line.DCBlength = sizeof line;
        ASSERT_TRUE(GetCommState(port, &line)) << GetLastError();
        line.BaudRate = 115200;
        line.ByteSize = 8;
        line.Parity = NOPARITY;
        line.StopBits = ONESTOPBIT;
        line.fBinary = TRUE;
        line.fParity = FALSE;
        line.fOutX = FALSE;
        line.fInX = FALSE;
        line.fNull = FALSE;
        line.fAbortOnError = FALSE;
        line.fDtrControl = DTR_CONTROL_ENABLE;
        line.fOutxCtsFlow = TRUE;
        line.fRtsControl = RTS_CONTROL_HANDSHAKE;
        ASSERT_TRUE(SetCommState(port, &line)) << GetLastError();
        written.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    }
    void TearDown() override
    {
        if (port != INVALID_HANDLE_VALUE)
            CloseHandle(port);
        if (written.hEvent)
            CloseHandle(written.hEvent);
    }

    // Starts an overlapped write, as QSerialPort writes; true while it waits for the line.
    bool startWrite(const std::vector<char> &bytes)
    {
        return !WriteFile(port, bytes.data(), DWORD(bytes.size()), nullptr, &written) &&
               GetLastError() == ERROR_IO_PENDING;
    }

    ControlLine control;
    HANDLE port = INVALID_HANDLE_VALUE;
    OVERLAPPED written = {};
};

TEST_F(CommPort, TheSettingsReachTheLineAndEveryByteArrives)
{
    EXPECT_EQ(control.request("settings com5"), "raw cs8 parity=none stop=1 rate=115200 crtscts=1");

    const std::vector<char> bytes = testPattern(100 * 1024);
    ASSERT_TRUE(control.send("expect com5 " + std::to_string(bytes.size())));
    startWrite(bytes);
    const CommQueue queue = commOutputQueue(port);
    EXPECT_EQ(queue.error, DWORD(ERROR_SUCCESS));
    DWORD sent = 0;
    EXPECT_TRUE(GetOverlappedResult(port, &written, &sent, TRUE)) << GetLastError();
    EXPECT_EQ(sent, bytes.size());
    EXPECT_EQ(control.answer(), "ok");
}

TEST_F(CommPort, TheQueueAnswersWhileAWriteWaitsForAStalledLine)
{
    // Far more than the line holds while nobody reads it.
    const std::vector<char> bytes = testPattern(1024 * 1024);
    ASSERT_TRUE(startWrite(bytes));
    EXPECT_EQ(commOutputQueue(port).error, DWORD(ERROR_SUCCESS));
    EXPECT_EQ(discardCommOutput(port), DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(CancelIoEx(port, &written)) << GetLastError();
    DWORD sent = 0;
    EXPECT_FALSE(GetOverlappedResult(port, &written, &sent, TRUE));
    EXPECT_EQ(GetLastError(), DWORD(ERROR_OPERATION_ABORTED));
    EXPECT_LT(sent, bytes.size());
}

TEST(CommQueueOfAFile, SaysWhyItCannotCount)
{
    wchar_t path[MAX_PATH];
    GetTempPathW(MAX_PATH, path);
    wchar_t name[MAX_PATH];
    GetTempFileNameW(path, L"orv", 0, name);
    const HANDLE file = CreateFileW(name, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_NE(commOutputQueue(file).error, DWORD(ERROR_SUCCESS));
    EXPECT_NE(discardCommOutput(file), DWORD(ERROR_SUCCESS));
    CloseHandle(file);
}

} // namespace
