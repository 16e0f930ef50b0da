#pragma once
// MT19937-64, the 64-bit Mersenne Twister of Matsumoto and Nishimura, with the
// published parameters and both published seedings.

#include <array>

#include "platform/cache_line.h"
#include "random/random_impl.h"

// Aligned to a cache line: every draw writes the position, and the sources of two test
// workers are made one right after the other.
class alignas(platform::kCacheLineBytes) CMT19937 final : public IRandomImpl<CMT19937> {
 public:
  static constexpr int kStateWords = 312;

  // The published seeding by one value. Always S_OK.
  HRESULT Seed(std::uint64_t seed) override;

  // The published seeding by an array. A null key or a length below 1 would make the
  // seeding read outside the key: E_INVALIDARG, and the generator is left as it was.
  HRESULT SeedArray(const std::uint64_t* key, std::int32_t length) override;

  // One tempered 64-bit output; an unseeded generator first seeds itself with 5489.
  // Inline, so that a test worker drawing a value per word pays no call for it.
  std::uint64_t Draw() {
    if (m_position >= kStateWords) Refill();
    std::uint64_t y = m_state[m_position++];
    y ^= (y >> 29) & 0x5555555555555555ull;
    y ^= (y << 17) & 0x71D67FFFEDA60000ull;
    y ^= (y << 37) & 0xFFF7EEE000000000ull;
    y ^= y >> 43;
    return y;
  }

 private:
  friend class IRandomImpl<CMT19937>;
  ~CMT19937() = default;

  static constexpr std::int32_t kUnseeded = kStateWords + 1;

  // Seeds an unseeded generator, then computes the next kStateWords words.
  void Refill();
  void Regenerate();

  std::array<std::uint64_t, kStateWords> m_state{};
  std::int32_t m_position = kUnseeded;
};
