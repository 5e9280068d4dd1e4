#pragma once

#include <cstddef>

// The bytes both sides of a test line agree on: byte i of every stream a test sends. Not
// periodic in any power of two, so a lost or repeated block shows.
inline char testPatternByte(std::size_t i)
{
    return char(i * 7 + i / 251);
}
