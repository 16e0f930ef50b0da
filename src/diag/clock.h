#pragma once
// The library's millisecond clock.

#include <cstdint>

// Milliseconds from an arbitrary origin; only differences between two results mean
// anything.
std::int64_t GetMilliseconds();
