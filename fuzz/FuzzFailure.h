#pragma once

#include <cstdio>
#include <cstdlib>

// A broken promise of the code under test: libFuzzer keeps the input that made it.
[[noreturn]] inline void fuzzFailure(const char *target, const char *what)
{
    std::fprintf(stderr, "%s fuzzer: %s\n", target, what);
    std::abort();
}
