#pragma once
// xoshiro256+ 1.0 (Blackman and Vigna), four generators side by side, each in one lane
// of a vector of four words: one draw gives an output of every generator, in ten vector
// instructions and with no output waiting for another. Seeded through SplitMix64, as its
// authors recommend. Of its family it is the fastest; the weakness its authors name, the
// low linear complexity of the lowest bits, does not matter for memory test patterns,
// where every bit of a value is still 0 or 1 with even odds. It is no IRandom: the
// sweeping method draws at the speed of the memory bus, so its draws are inline.
//
// Threadsafety: one thread uses a generator at a time.

#include <cstdint>

#include "random/word_lanes.h"

// One SplitMix64 step: advances `state` and returns its output.
inline std::uint64_t SplitMix64(std::uint64_t& state) {
  std::uint64_t z = (state += 0x9E3779B97F4A7C15ull);
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
  return z ^ (z >> 31);
}

struct Xoshiro256PlusLanes {
  WordLanes s[4];  // s[w][g]: state word w of generator g

  // Generator g takes SplitMix64 outputs 4g to 4g + 3 of `seed` as its state words 0 to 3.
  void Seed(std::uint64_t seed) {
    for (int g = 0; g < 4; ++g) {
      for (WordLanes& word : s) word[g] = SplitMix64(seed);
    }
  }

  // The next output of every generator: out[g] is generator g's.
  [[gnu::always_inline]] void Next(WordLanes& out) {
    out = s[0] + s[3];
    const WordLanes t = s[1] << 17;
    s[2] ^= s[0];
    s[3] ^= s[1];
    s[1] ^= s[2];
    s[0] ^= s[3];
    s[2] ^= t;
    s[3] = (s[3] << 45) | (s[3] >> 19);
  }
};
