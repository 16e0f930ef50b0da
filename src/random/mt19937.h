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
  // Inline, so that a test worker drawing a value per word pays no call for it. Each
  // draw first advances the one state word it reads: the same words as advancing all of
  // them every kStateWords draws, but without a burst of work that would stall the
  // memory accesses around it.
  std::uint64_t Draw() {
    if (m_position >= kStateWords) Refill();
    const int i = m_position++;
    Twist(i, i + 1 == kStateWords ? 0 : i + 1,
          i < kStateWords - kShift ? i + kShift : i + kShift - kStateWords);
    std::uint64_t y = m_state[i];
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
  static constexpr int kShift = 156;

  // State word i from itself, word i1 = i + 1 and word iM = i + kShift, both modulo
  // kStateWords: the published recurrence.
  void Twist(int i, int i1, int iM) {
    const std::uint64_t x = (m_state[i] & 0xFFFFFFFF80000000ull) | (m_state[i1] & 0x7FFFFFFFull);
    m_state[i] = m_state[iM] ^ (x >> 1) ^ ((x & 1) ? 0xB5026F5AA96619E9ull : 0);
  }
  // Seeds an unseeded generator and starts a round of the state.
  void Refill();

  std::array<std::uint64_t, kStateWords> m_state{};
  std::int32_t m_position = kUnseeded;
};
