// The reciprocal must give exactly what the hardware remainder gives, at the edges where
// such tricks go wrong: divisors of 1, 2 and powers of two, odd and near-2^64 divisors,
// and numerators near 2^64.

#include <gtest/gtest.h>

#include <cstdint>

#include "engine/word_divisor.h"

namespace {

TEST(WordDivisor, RemaindersAreTheHardwaresAtTheEdges) {
  const std::uint64_t top = ~0ull;
  const std::uint64_t divisors[] = {1,          2,
                                    3,          7,
                                    1u << 20,   (1u << 20) + 3,
                                    1048579,    0x7FFFFFFF,
                                    1ull << 32, (1ull << 32) + 1,
                                    1ull << 63, top - 1,
                                    top};
  for (const std::uint64_t divisor : divisors) {
    const WordDivisor words(divisor);
    const std::uint64_t numerators[] = {
        0,       1,   divisor - 1, divisor,          divisor + 1,       2 * divisor, top - divisor,
        top - 1, top, 1ull << 63,  (1ull << 63) - 1, 0x9E3779B97F4A7C15};
    for (const std::uint64_t n : numerators) {
      ASSERT_EQ(words.Remainder(n), n % divisor) << n << " % " << divisor;
    }
    // And a stretch of numerators that walks through many quotients.
    for (std::uint64_t n = top, step = 0x1234567890ABull; n > step; n -= step) {
      ASSERT_EQ(words.Remainder(n), n % divisor) << n << " % " << divisor;
    }
  }
}

}  // namespace
