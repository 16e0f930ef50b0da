#pragma once
// What the platform tells about a processor fault, in the terms of Windows structured
// exceptions on every platform: its exception code, where it happened and, for an access
// violation, what was accessed and how.

#include <cstdint>

namespace platform {

// The fault codes the platform layer itself produces or picks out by name.
inline constexpr std::uint32_t kFaultAccessViolation = 0xC0000005u;
inline constexpr std::uint32_t kFaultArrayBoundsExceeded = 0xC000008Cu;

// Access kinds of an access violation.
inline constexpr std::uint32_t kAccessRead = 0;
inline constexpr std::uint32_t kAccessWrite = 1;
inline constexpr std::uint32_t kAccessExecute = 8;

struct FaultInfo {
  std::uint32_t code = 0;
  std::uint64_t instructionAddress = 0;
  // Access violations only: kAccessRead, kAccessWrite or kAccessExecute, and the address
  // that could not be accessed.
  std::uint32_t accessKind = kAccessRead;
  std::uint64_t inaccessibleAddress = 0;
};

}  // namespace platform
