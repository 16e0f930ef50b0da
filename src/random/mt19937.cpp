#include "random/mt19937.h"

#include <algorithm>

namespace {

constexpr int kN = CMT19937::kStateWords;

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
