#include "Terminal.h"

#include <gtest/gtest.h>

#include <fcntl.h>
#include <io.h>

namespace {

TEST(Terminal, AConsoleIsATerminalAndNulIsNot)
{
    std::FILE *console = _wfopen(L"CONIN$", L"r");
    ASSERT_NE(console, nullptr) << "run the tests from a terminal, as scripts/test-windows does";
    EXPECT_TRUE(isTerminal(console));
    std::fclose(console);

    // NUL is a character device: the C runtime calls it a tty, yet no one there answers a
    // prompt. `orvane upload ... < NUL` must not wait for one.
    std::FILE *nul = _wfopen(L"NUL", L"r");
    ASSERT_NE(nul, nullptr);
    EXPECT_NE(_isatty(_fileno(nul)), 0);
    EXPECT_FALSE(isTerminal(nul));
    std::fclose(nul);
    ASSERT_NE(_wfreopen(L"NUL", L"r", stdin), nullptr);
    EXPECT_FALSE(isTerminal(stdin));

    int ends[2];
    ASSERT_EQ(_pipe(ends, 256, _O_BINARY), 0);
    std::FILE *pipe = _fdopen(ends[0], "rb");
    EXPECT_FALSE(isTerminal(pipe));
    std::fclose(pipe);
    _close(ends[1]);
}

} // namespace
