#pragma once
// Random sources: one interface, made by CreateRandom from a type number and destroyed
// by its own Release. Sources have no lock: one thread uses a source at a time.

#include <cstdint>

#include "platform/hresult.h"

// How GetInt and GetReal shape one or two 64-bit draws.
enum class RandomKind : std::int32_t {
  Int32 = 1,         // draw >> 32
  Int31 = 2,         // draw >> 33
  Int64 = 3,         // the whole draw
  Int63 = 4,         // draw >> 1
  RealClosed = 5,    // [0, 1]
  RealHalfOpen = 6,  // [0, 1)
  RealOpen = 7,      // (0, 1)
  RealRes53 = 8,     // [0, 1) from two draws, 53-bit resolution
};

class IRandom {
 public:
  virtual HRESULT Seed(std::uint64_t seed) = 0;
  virtual HRESULT SeedArray(const std::uint64_t* key, std::int32_t length) = 0;
  // For a kind GetInt does not take it returns E_INVALIDARG widened with its sign
  // (0xFFFFFFFF80070057) without drawing; GetReal returns the code as a double.
  virtual std::uint64_t GetInt(RandomKind kind) = 0;
  virtual double GetReal(RandomKind kind) = 0;
  // Deletes the object at once; there is no reference count.
  virtual void Release() = 0;

 protected:
  ~IRandom() = default;
};

inline constexpr std::uint64_t kInvalidKindInt =
    static_cast<std::uint64_t>(static_cast<std::int64_t>(E_INVALIDARG));
inline constexpr double kInvalidKindReal = static_cast<double>(E_INVALIDARG);

inline constexpr std::int32_t kRandomMersenneTwister = 1;
inline constexpr std::int32_t kRandomCrypt = 2;

// Type 1 makes a CMT19937, type 2 a CCryptRandom; any other type gives E_INVALIDARG,
// an allocation failure E_OUTOFMEMORY. `out` is null unless the result is S_OK.
HRESULT CreateRandom(std::int32_t type, IRandom*& out);
