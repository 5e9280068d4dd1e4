#pragma once

#include <cstddef>
#include <vector>

// The bytes both sides of a test line agree on: byte i of every stream a test sends. Not
// periodic in any power of two, so a lost or repeated block shows.
inline char testPatternByte(std::size_t i)
{
    return char(i * 7 + i / 251);
}

// The first size bytes of that stream.
inline std::vector<char> testPattern(std::size_t size)
{
    std::vector<char> bytes(size);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] = testPatternByte(i);
    return bytes;
}
