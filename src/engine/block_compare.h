#pragma once
// Comparing a block of words of one buffer with its mirror as a whole, for the sweeping
// method and its benchmark kernel.

#include <cstdint>
#include <cstring>

#include "random/word_lanes.h"

// Tells the compiler that memory may have changed behind its back: every word is read
// again from the buffers, never taken from a value the compiler remembers writing.
inline void ForgetMemory() {
  asm volatile("" ::: "memory");
}

// The OR of the differing bits of words a[0 .. n) and b[0 .. n), four words at a time.
[[gnu::always_inline]] inline std::uint64_t BlockDifferences(const std::uint64_t* a,
                                                             const std::uint64_t* b,
                                                             std::uint64_t n) {
  WordLanes differ{0, 0, 0, 0};
  std::uint64_t k = 0;
  for (; k + 4 <= n; k += 4) {
    WordLanes x;
    WordLanes y;
    std::memcpy(&x, a + k, sizeof x);
    std::memcpy(&y, b + k, sizeof y);
    differ |= x ^ y;
  }
  std::uint64_t tail = 0;
  for (; k < n; ++k) tail |= a[k] ^ b[k];
  return differ[0] | differ[1] | differ[2] | differ[3] | tail;
}
