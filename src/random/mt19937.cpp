#include "random/mt19937.h"

#include <algorithm>
#include <cstring>

#include "random/word_lanes.h"

namespace {

constexpr int kN = CMT19937::kStateWords;
constexpr int kShift = CMT19937::kShift;

// Twists the group of words from state[i] on, with the group from state[iM] as their
// third words, and tempers them into out from out[i] on while they are still in registers.
template <class Lanes>
[[gnu::always_inline]] inline void DrawLanes(std::uint64_t* state, std::uint64_t* out, int i,
                                             int iM) {
  Lanes word;
  Lanes next;
  Lanes far;
  std::memcpy(&word, state + i, sizeof word);
  std::memcpy(&next, state + i + 1, sizeof next);
  std::memcpy(&far, state + iM, sizeof far);
  CMT19937::Twist(word, next, far);
  std::memcpy(state + i, &word, sizeof word);
  CMT19937::Temper(word);
  std::memcpy(out + i, &word, sizeof word);
}

// The same for the one word state[i], with its next word i1.
[[gnu::always_inline]] inline void DrawWord(std::uint64_t* state, std::uint64_t* out, int i, int i1,
                                            int iM) {
  CMT19937::Twist(state[i], state[i1], state[iM]);
  std::uint64_t y = state[i];
  CMT19937::Temper(y);
  out[i] = y;
}

// Twists a whole round of the state and tempers it into out: the first kN - kShift words
// from words of the last round only, a group at a time while a whole group fits; then
// each from the word kShift behind, already twisted, a group at a time until the next
// words would reach past the end; the words left over one by one, the last from the new
// word 0.
template <class Lanes>
[[gnu::always_inline]] inline void StartRound(std::uint64_t* state, std::uint64_t* out) {
  constexpr int kLanes = sizeof(Lanes) / sizeof(std::uint64_t);
  int i = 0;
  for (; i + kLanes <= kN - kShift; i += kLanes) DrawLanes<Lanes>(state, out, i, i + kShift);
  for (; i < kN - kShift; ++i) DrawWord(state, out, i, i + 1, i + kShift);
  for (; i + kLanes < kN; i += kLanes) DrawLanes<Lanes>(state, out, i, i + kShift - kN);
  for (; i < kN; ++i) DrawWord(state, out, i, i + 1 == kN ? 0 : i + 1, i + kShift - kN);
}

void StartRoundBaseline(std::uint64_t* state, std::uint64_t* out) {
  StartRound<WordPair>(state, out);
}

[[gnu::target("avx2")]] void StartRoundAvx2(std::uint64_t* state, std::uint64_t* out) {
  StartRound<WordLanes>(state, out);
}

// With AVX-512 the compiler also folds the masks and exclusive ors into three-way
// logic instructions: fewer than half the instructions per word of the four-word path.
[[gnu::target("avx512f")]] void StartRoundAvx512(std::uint64_t* state, std::uint64_t* out) {
  StartRound<WordOctet>(state, out);
}

using StartRoundFunction = void (*)(std::uint64_t*, std::uint64_t*);

StartRoundFunction StartRoundForThisProcessor() {
  if (HasWidestVectors()) return &StartRoundAvx512;
  return HasWideVectors() ? &StartRoundAvx2 : &StartRoundBaseline;
}

}  // namespace

HRESULT CMT19937::Seed(std::uint64_t seed) {
  m_state[0] = seed;
  for (int i = 1; i < kN; ++i) {
    const std::uint64_t previous = m_state[i - 1];
    m_state[i] = 6364136223846793005ull * (previous ^ (previous >> 62)) + static_cast<unsigned>(i);
  }
  m_position = kN;
  m_seeded = true;
  return S_OK;
}

HRESULT CMT19937::SeedArray(const std::uint64_t* key, std::int32_t length) {
  if (key == nullptr || length < 1) return E_INVALIDARG;
  Seed(19650218);
  int i = 1;
  int j = 0;
  for (int k = std::max(kN, length); k > 0; --k) {
    const std::uint64_t previous = m_state[i - 1];
    m_state[i] = (m_state[i] ^ ((previous ^ (previous >> 62)) * 3935559000370003845ull)) + key[j] +
                 static_cast<unsigned>(j);
    if (++i >= kN) {
      m_state[0] = m_state[kN - 1];
      i = 1;
    }
    if (++j >= length) j = 0;
  }
  for (int k = kN - 1; k > 0; --k) {
    const std::uint64_t previous = m_state[i - 1];
    m_state[i] = (m_state[i] ^ ((previous ^ (previous >> 62)) * 2862933555777941757ull)) -
                 static_cast<unsigned>(i);
    if (++i >= kN) {
      m_state[0] = m_state[kN - 1];
      i = 1;
    }
  }
  m_state[0] = 1ull << 63;  // keeps the state from being all zero
  return S_OK;
}

void CMT19937::Refill() {
  if (m_position == kUnseeded) Seed(5489);
  m_position = 0;
}

int CMT19937::DrawRound(std::uint64_t* out) {
  static const StartRoundFunction startRound = StartRoundForThisProcessor();
  if (m_position >= kN) Refill();
  if (m_position != 0) {
    int count = 0;
    while (m_position < kN) out[count++] = Draw();
    return count;
  }
  startRound(m_state.data(), out);
  m_position = kN;
  return kN;
}
