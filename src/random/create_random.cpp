#include <new>

#include "random/crypt_random.h"
#include "random/mt19937.h"
#include "random/random.h"

HRESULT CreateRandom(std::int32_t type, IRandom*& out) {
  out = nullptr;
  IRandom* source = nullptr;
  switch (type) {
    case kRandomMersenneTwister:
      source = new (std::nothrow) CMT19937;
      break;
    case kRandomCrypt:
      source = new (std::nothrow) CCryptRandom;
      break;
    default:
      return E_INVALIDARG;
  }
  if (source == nullptr) return E_OUTOFMEMORY;
  out = source;
  return S_OK;
}
