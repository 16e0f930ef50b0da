#pragma once
// Comparing a block of words of one buffer with its mirror as a whole, for the sweeping
// method and its benchmark kernel.

#include <cstdint>
#include <cstring>

// Tells the compiler that memory may have changed behind its back: every word is read
// again from the buffers, never taken from a value the compiler remembers writing.
inline void ForgetMemory() {
  asm volatile("" ::: "memory");
}

// The OR of the differing bits of words a[0 .. n) and b[0 .. n), two words at a time in
// vector registers.
inline std::uint64_t BlockDifferences(const std::uint64_t* a, const std::uint64_t* b,
                                      std::uint64_t n) {
  using Pair = std::uint64_t __attribute__((vector_size(16)));
  Pair differ{0, 0};
  std::uint64_t k = 0;
  for (; k + 2 <= n; k += 2) {
    Pair x;
    Pair y;
    std::memcpy(&x, a + k, sizeof x);
    std::memcpy(&y, b + k, sizeof y);
    differ |= x ^ y;
  }
  const std::uint64_t tail = k < n ? a[k] ^ b[k] : 0;
  return differ[0] | differ[1] | tail;
}
