#pragma once
// wyrand (Wang Yi), the generator of the wyhash family: a Weyl sequence whose every step
// is mixed by one 64 x 64 -> 128-bit multiplication. It passes the common statistical
// batteries and costs a few instructions per output, none of them waiting for the last
// output. It is no IRandom: the sweeping method draws one value per word at the speed of
// the memory bus, so its draws are inline, without a virtual call.
//
// Threadsafety: one thread uses a generator at a time.

#include <cstdint>

struct Wyrand {
  std::uint64_t state;

  std::uint64_t Next() {
    state += 0x2D358DCCAA6C78A5ull;
    const auto product = static_cast<unsigned __int128>(state) * (state ^ 0x8BB84B93962EACC9ull);
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
  }
};
