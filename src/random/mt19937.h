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
  // Each draw first advances the one state word it reads: the same words as advancing
  // all of them every kStateWords draws.
  std::uint64_t Draw() {
    if (m_position >= kStateWords) Refill();
    const int i = m_position++;
    Twist(i, i + 1 == kStateWords ? 0 : i + 1,
          i < kStateWords - kShift ? i + kShift : i + kShift - kStateWords);
    std::uint64_t y = m_state[i];
    Temper(y);
    return y;
  }

  // The draws left in the current round of the state, into `out` (room for kStateWords);
  // returns how many. The same outputs as as many Draws, but a round that begins here is
  // twisted and tempered in vectors of words: a test worker that draws a round ahead
  // pays a fraction of a Draw per value.
  int DrawRound(std::uint64_t* out);

  // The published recurrence and tempering, in place, for one word or for lanes of words
  // side by side. The matrix is applied by a mask, not a branch: the low bit is a coin
  // toss that no branch predictor can learn.
  template <class Words>
  static void Twist(Words& word, const Words& next, const Words& far) {
    const Words x = (word & 0xFFFFFFFF80000000ull) | (next & 0x7FFFFFFFull);
    word = far ^ (x >> 1) ^ ((0 - (x & 1)) & 0xB5026F5AA96619E9ull);
  }
  template <class Words>
  static void Temper(Words& y) {
    y ^= (y >> 29) & 0x5555555555555555ull;
    y ^= (y << 17) & 0x71D67FFFEDA60000ull;
    y ^= (y << 37) & 0xFFF7EEE000000000ull;
    y ^= y >> 43;
  }
  // The distance of the recurrence's third word.
  static constexpr int kShift = 156;

 private:
  friend class IRandomImpl<CMT19937>;
  ~CMT19937() = default;

  static constexpr std::int32_t kUnseeded = kStateWords + 1;

  // State word i from itself, word i1 = i + 1 and word iM = i + kShift, both modulo
  // kStateWords.
  void Twist(int i, int i1, int iM) { Twist(m_state[i], m_state[i1], m_state[iM]); }
  // Seeds an unseeded generator and starts a round of the state.
  void Refill();

  std::array<std::uint64_t, kStateWords> m_state{};
  std::int32_t m_position = kUnseeded;
};
