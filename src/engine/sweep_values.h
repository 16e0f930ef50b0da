#pragma once
// The values the sweeping method writes: one stream of xoshiro256+ outputs from four
// generators side by side, value j being output j / 4 of generator j % 4. Every visit
// takes the next value, so a pass whose length is no multiple of four leaves outputs of a
// draw to the next visits, and the stream is the same however the words are grouped.
//
// Threadsafety: the worker's thread only.

#include <cstdint>
#include <cstring>

#include "random/xoshiro256_lanes.h"

struct SweepValues {
  Xoshiro256PlusLanes generators;
  std::uint64_t carry[4];  // the last draw; its outputs from 4 - carried on are still unused
  std::uint32_t carried;

  void Seed(std::uint64_t seed) {
    generators.Seed(seed);
    carried = 0;
  }

  std::uint64_t Next() {
    if (carried == 0) {
      WordLanes drawn;
      generators.Next(drawn);
      std::memcpy(carry, &drawn, sizeof carry);
      carried = 4;
    }
    return carry[4 - carried--];
  }

  // Writes the next n values, OR `mask`, to a[k] and then b[k], four words at a time
  // wherever the stream allows.
  [[gnu::always_inline]] void Write(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                                    std::uint64_t mask) {
    std::uint64_t k = 0;
    for (; carried != 0 && k < n; ++k) WriteOne(a + k, b + k, Next() | mask);
    // A copy, which the stores to the buffers cannot alias: it stays in registers.
    Xoshiro256PlusLanes drawing = generators;
    for (; k + 4 <= n; k += 4) {
      WordLanes value;
      drawing.Next(value);
      value |= mask;
      std::memcpy(a + k, &value, sizeof value);
      std::memcpy(b + k, &value, sizeof value);
    }
    generators = drawing;
    for (; k < n; ++k) WriteOne(a + k, b + k, Next() | mask);
  }

 private:
  static void WriteOne(std::uint64_t* a, std::uint64_t* b, std::uint64_t value) {
    *a = value;
    *b = value;
  }
};
