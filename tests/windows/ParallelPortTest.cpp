#include "ControlLine.h"
#include "ParallelPort_win.h"
#include "PrinterStallLimit.h"
#include "TestPattern.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace std::chrono_literals;

namespace {

// LPT1: is a pseudo-terminal whose Linux side (pty-peer) reads only when asked to, so a port
// nobody asks about is a printer that has stopped taking bytes.
class ParallelPort : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(control.isOpen()) << GetLastError();
        port = openParallelPort(L"LPT1:");
        ASSERT_NE(port.handle, INVALID_HANDLE_VALUE) << port.error;
    }
    void TearDown() override
    {
        if (port.handle != INVALID_HANDLE_VALUE)
            closeParallelPort(port.handle);
    }

    ControlLine control;
    ParallelPortOpen port;
};

TEST_F(ParallelPort, EveryByteArrivesInOrder)
{
    const std::vector<char> bytes = testPattern(100 * 1024);
    ASSERT_TRUE(control.send("expect lpt1 " + std::to_string(bytes.size())));
    const ParallelPortWrite result =
        writeParallelPort(port.handle, bytes.data(), bytes.size(), PrinterStallLimit);
    EXPECT_EQ(result.written, bytes.size());
    EXPECT_EQ(result.error, DWORD(ERROR_SUCCESS));
    EXPECT_FALSE(result.stalled);
    EXPECT_EQ(control.answer(), "ok");
}

TEST_F(ParallelPort, APrinterThatTakesNothingFailsTheWriteOnceTheLimitHasPassed)
{
    const std::vector<char> bytes = testPattern(1024 * 1024);
    const auto start = std::chrono::steady_clock::now();
    const ParallelPortWrite result = writeParallelPort(port.handle, bytes.data(), bytes.size(), 1s);
    const auto took = std::chrono::steady_clock::now() - start;

    EXPECT_TRUE(result.stalled);
    EXPECT_EQ(result.error, DWORD(ERROR_SUCCESS));
    EXPECT_GT(result.written, 0u);
    EXPECT_LT(result.written, bytes.size());
    // The line stopped taking bytes after the write began, so the limit bounds this from below.
    // Waiting for the limit twice, once in a write the port's time-out cut short and again in
    // one that took nothing, took 2 s.
    EXPECT_GE(took, 1s);
    EXPECT_LT(took, 2s);
    // What the port took arrived unchanged, with nothing repeated.
    EXPECT_EQ(control.request("expect lpt1 " + std::to_string(result.written)), "ok");
}

TEST(ParallelPortOpen, APortThatIsNotThereIsRefusedWithTheSystemsReason)
{
    const ParallelPortOpen port = openParallelPort(L"LPT2:");
    EXPECT_EQ(port.handle, INVALID_HANDLE_VALUE);
    EXPECT_EQ(port.error, DWORD(ERROR_FILE_NOT_FOUND));
}

} // namespace
