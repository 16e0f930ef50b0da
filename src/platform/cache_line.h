#pragma once
// The processor's cache line, 64 bytes on every x86-64 processor the program runs on.
// An object that its thread writes on every step is aligned to it, so that it never
// shares a line with another thread's object: each write would take the line away from
// the other core, and two test workers would slow each other down.

#include <cstddef>

namespace platform {

inline constexpr std::size_t kCacheLineBytes = 64;

}  // namespace platform
