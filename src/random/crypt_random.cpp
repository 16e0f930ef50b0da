#include "random/crypt_random.h"

#include <cstdint>

HRESULT CCryptRandom::Seed(std::uint64_t) {
  if (m_seeded) return S_FALSE;
  const HRESULT result = platform::AcquireCryptoContext(m_provider);
  if (Failed(result)) return result;
  m_seeded = true;
  return S_OK;
}

HRESULT CCryptRandom::SeedArray(const std::uint64_t*, std::int32_t) {
  return Seed(0);
}

CCryptRandom::~CCryptRandom() {
  if (m_provider != 0) platform::ReleaseCryptoContext(m_provider);
}

std::uint64_t CCryptRandom::Draw() {
  std::uint64_t bytes = 0;
  if (m_seeded || !Failed(Seed(0))) platform::GenerateCryptoBytes(m_provider, &bytes, sizeof bytes);
  return bytes;
}

std::uint64_t CCryptRandom::Draw32() {
  std::uint32_t bytes = 0;
  if (m_seeded || !Failed(Seed(0))) platform::GenerateCryptoBytes(m_provider, &bytes, sizeof bytes);
  return bytes;
}
