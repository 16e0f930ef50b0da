#include "random/mt19937.h"

#include <algorithm>

namespace {

constexpr int kN = CMT19937::kStateWords;
constexpr int kM = 156;
constexpr std::uint64_t kMatrix = 0xB5026F5AA96619E9ull;
constexpr std::uint64_t kUpperMask = 0xFFFFFFFF80000000ull;
constexpr std::uint64_t kLowerMask = 0x7FFFFFFFull;
constexpr std::int32_t kUnseeded = kN + 1;

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

void CMT19937::Regenerate() {
  for (int i = 0; i < kN; ++i) {
    const std::uint64_t x = (m_state[i] & kUpperMask) | (m_state[(i + 1) % kN] & kLowerMask);
    m_state[i] = m_state[(i + kM) % kN] ^ (x >> 1) ^ ((x & 1) ? kMatrix : 0);
  }
  m_position = 0;
}

std::uint64_t CMT19937::Draw() {
  if (m_position >= kN) {
    if (m_position == kUnseeded) Seed(5489);
    Regenerate();
  }
  std::uint64_t y = m_state[m_position++];
  y ^= (y >> 29) & 0x5555555555555555ull;
  y ^= (y << 17) & 0x71D67FFFEDA60000ull;
  y ^= (y << 37) & 0xFFF7EEE000000000ull;
  y ^= y >> 43;
  return y;
}
