#include "CommPort_win.h"
#include "CommQueue_win.h"
#include "ControlLine.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

// COM5 is a pseudo-terminal on the Linux side. It has no modem lines (GetCommModemStatus
// fails under Wine), so the peer plays a low CTS with the terminal's own output stop (tcflow),
// which holds the bytes back in the same place. Its driver queue reads 0, so the counts below
// are the layer's own.

namespace {

const CommLine line{115200, 8, NOPARITY, ONESTOPBIT};

// Polls a condition the other side brings about, with a limit for a side that never does.
bool becomes(const std::function<bool()> &condition)
{
    for (ULONGLONG start = GetTickCount64(); GetTickCount64() - start < 60000; Sleep(10))
        if (condition())
            return true;
    return condition();
}

void writeInPieces(CommPort &port, const std::vector<char> &bytes, std::size_t piece)
{
    for (std::size_t at = 0; at < bytes.size(); at += piece)
        port.write(bytes.data() + at, std::min(piece, bytes.size() - at));
}

class CommPortLine : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(control.isOpen()) << GetLastError();
        ASSERT_EQ(port.open(L"COM5", line, true), DWORD(ERROR_SUCCESS));
    }

    ControlLine control;
    CommPort port;
};

TEST_F(CommPortLine, OpensWithTheSettingsAndSendsEveryByteInOrder)
{
    EXPECT_EQ(control.request("settings com5"), "raw cs8 parity=none stop=1 rate=115200 crtscts=1");
    EXPECT_EQ(port.setRtsCts(false), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(control.request("settings com5"), "raw cs8 parity=none stop=1 rate=115200 crtscts=0");
    EXPECT_EQ(port.setRtsCts(true), DWORD(ERROR_SUCCESS));
    EXPECT_TRUE(port.clearToSend()); // a line without modem lines never holds the sender back

    // More than the terminal holds while its reader waits, in the transmitter's piece size.
    const std::vector<char> bytes = testPattern(200 * 1024);
    ASSERT_TRUE(control.send("expect com5 " + std::to_string(bytes.size())));
    writeInPieces(port, bytes, 256);
    EXPECT_EQ(control.answer(), "ok");
    EXPECT_TRUE(becomes([&] { return port.outputCount() == 0; })) << port.outputCount();
    EXPECT_EQ(port.writeError(), DWORD(ERROR_SUCCESS));
    EXPECT_EQ(port.close(0), 0u);
}

TEST_F(CommPortLine, AHeldLineKeepsTheBytesQueuedAndCountedUntilItIsReleased)
{
    ASSERT_EQ(control.request("hold com5"), "ok");
    const std::vector<char> bytes = testPattern(8192);
    writeInPieces(port, bytes, 4096);
    EXPECT_EQ(port.outputCount(), bytes.size());
    EXPECT_EQ(control.request("release com5"), "ok");
    EXPECT_EQ(control.request("expect com5 " + std::to_string(bytes.size())), "ok");
    EXPECT_TRUE(becomes([&] { return port.outputCount() == 0; })) << port.outputCount();
}

TEST_F(CommPortLine, ClosingAHeldLineEndsWithinItsLimitAndSendsNothingLater)
{
    ASSERT_EQ(control.request("hold com5"), "ok");
    // From byte 1 of the pattern, so a stray byte of it would show in the check below.
    const std::vector<char> pattern = testPattern(64 * 1024 + 1);
    const std::vector<char> held(pattern.begin() + 1, pattern.end());
    writeInPieces(port, held, 1024);
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(port.close(500), held.size());
    EXPECT_LT(GetTickCount64() - start, 20000u);
    EXPECT_FALSE(port.isOpen());
    EXPECT_EQ(control.request("release com5"), "ok");

    ASSERT_EQ(port.open(L"COM5", line, true), DWORD(ERROR_SUCCESS));
    const std::vector<char> next = testPattern(1000);
    port.write(next.data(), next.size());
    EXPECT_EQ(control.request("expect com5 1000"), "ok");
}

TEST_F(CommPortLine, APortInUseOrMissingIsRefusedInItsCategory)
{
    // Windows' driver refuses a second open itself; Wine opens a terminal as often as asked,
    // so the peer holds COM5 exclusively as another program would.
    CommPort second;
    ASSERT_EQ(control.request("lock com5"), "ok");
    const DWORD busy = second.open(L"\\\\.\\COM5", line, true);
    EXPECT_EQ(control.request("unlock com5"), "ok");
    EXPECT_EQ(classifyCommOpenError(busy), OpenFailure::Busy) << busy;
    const DWORD missing = second.open(L"COM7", line, true);
    EXPECT_EQ(classifyCommOpenError(missing), OpenFailure::Missing) << missing;
    EXPECT_FALSE(second.isOpen());
}

TEST(CommPortGone, AWriteToAnEndedLineFailsAsADeviceGoneAndClosingGivesUp)
{
    ControlLine control;
    ASSERT_TRUE(control.isOpen()) << GetLastError();
    CommPort port;
    ASSERT_EQ(port.open(L"COM6", line, true), DWORD(ERROR_SUCCESS));
    ASSERT_EQ(control.request("drop com6"), "ok");
    const std::vector<char> bytes = testPattern(4096);
    port.write(bytes.data(), bytes.size());
    EXPECT_TRUE(becomes([&] { return port.writeError() != ERROR_SUCCESS; }));
    EXPECT_TRUE(isCommDeviceGone(port.writeError())) << port.writeError();
    EXPECT_EQ(port.close(60000), bytes.size());
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
