// windows.h brings the CryptoAPI declarations (wincrypt.h) with it.
#include <windows.h>

#include <cstring>

#include "platform/crypto_bytes.h"

namespace platform {

HRESULT AcquireCryptoContext(CryptoContext& context) {
  HCRYPTPROV provider = 0;
  if (!CryptAcquireContextA(&provider, nullptr, nullptr, PROV_RSA_FULL, CRYPT_VERIFYCONTEXT)) {
    context = 0;
    return HResultFromWin32(GetLastError());
  }
  context = provider;
  return S_OK;
}

bool GenerateCryptoBytes(CryptoContext context, void* bytes, std::uint32_t count) {
  if (CryptGenRandom(context, count, static_cast<BYTE*>(bytes))) return true;
  std::memset(bytes, 0, count);
  return false;
}

void ReleaseCryptoContext(CryptoContext context) {
  CryptReleaseContext(context, 0);
}

}  // namespace platform
