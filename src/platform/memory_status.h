#pragma once
// The operating system's physical memory figures, in bytes.

#include <cstdint>

namespace platform {

struct MemoryStatus {
  std::uint64_t totalBytes = 0;
  // What can be given to a process without paging other memory out.
  std::uint64_t availableBytes = 0;
};

// Any thread; keeps no state. Figures that cannot be read are 0.
MemoryStatus QueryMemoryStatus();

}  // namespace platform
