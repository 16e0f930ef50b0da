#pragma once
// Cryptographically strong random bytes from the operating system's provider.

#include <cstdint>

#include "platform/hresult.h"

namespace platform {

// An acquired provider context; 0 means none.
using CryptoContext = std::uintptr_t;

// S_OK and a non-zero context, or the system error as an HRESULT and context 0.
HRESULT AcquireCryptoContext(CryptoContext& context);

// Fills `bytes` with `count` random bytes. On failure the bytes are all zero and the
// result is false, so a failed draw never hands out whatever the memory held.
bool GenerateCryptoBytes(CryptoContext context, void* bytes, std::uint32_t count);

void ReleaseCryptoContext(CryptoContext context);

}  // namespace platform
