#include "platform/crypto_bytes.h"

#include <sys/random.h>

#include <cerrno>
#include <cstring>

namespace platform {

// getrandom needs no context; the token only tells the caller that the source is ready.
HRESULT AcquireCryptoContext(CryptoContext& context) {
  context = 1;
  return S_OK;
}

bool GenerateCryptoBytes(CryptoContext, void* bytes, std::uint32_t count) {
  auto* out = static_cast<unsigned char*>(bytes);
  std::uint32_t filled = 0;
  while (filled < count) {
    const ssize_t got = getrandom(out + filled, count - filled, 0);
    if (got < 0) {
      if (errno == EINTR) continue;
      std::memset(bytes, 0, count);
      return false;
    }
    filled += static_cast<std::uint32_t>(got);
  }
  return true;
}

void ReleaseCryptoContext(CryptoContext) {}

}  // namespace platform
