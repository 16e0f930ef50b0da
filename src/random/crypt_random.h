#pragma once
// A random source over the operating system's cryptographic provider. It computes
// nothing: every draw asks the provider for 4 or 8 fresh bytes.

#include "platform/crypto_bytes.h"
#include "random/random_impl.h"

class CCryptRandom final : public IRandomImpl<CCryptRandom> {
 public:
  // Acquires the provider context; the seed is ignored. S_FALSE when it is already
  // acquired, otherwise S_OK or the system's error.
  HRESULT Seed(std::uint64_t seed) override;
  // Ignores its arguments: Seed(0).
  HRESULT SeedArray(const std::uint64_t* key, std::int32_t length) override;

  virtual ~CCryptRandom();

 private:
  friend class IRandomImpl<CCryptRandom>;

  // The provider's bytes as one draw; 0 when the provider cannot be acquired or fails.
  // Each draw first acquires the context if that has not happened yet.
  std::uint64_t Draw();
  std::uint64_t Draw32();

  std::uint64_t DrawInt32() { return Draw32(); }
  std::uint64_t DrawInt31() { return Draw32() >> 1; }
  double DrawRealRes53() {
    const std::uint64_t high = Draw32() >> 5;
    const std::uint64_t low = Draw32() >> 6;
    return RealRes53Of(high, low);
  }

  platform::CryptoContext m_provider = 0;
};
