#include "diag/physical_memory.h"

namespace {

constexpr std::uint64_t kMegabyte = std::uint64_t{1} << 20;

}  // namespace

std::uint32_t PhysicalMemoryMb(const platform::MemoryStatus& status, std::uint32_t* total) {
  if (total) *total = static_cast<std::uint32_t>((status.totalBytes + kMegabyte) / kMegabyte);
  return static_cast<std::uint32_t>(status.availableBytes / kMegabyte);
}

std::uint32_t GetPhysicalMemoryMb(std::uint32_t* total) {
  return PhysicalMemoryMb(platform::QueryMemoryStatus(), total);
}
