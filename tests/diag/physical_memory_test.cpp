#include "diag/physical_memory.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

struct Case {
  std::uint64_t totalBytes;
  std::uint64_t availableBytes;
  std::uint32_t totalMb;
  std::uint32_t availableMb;
};

// The total gains a megabyte before it is truncated, the available amount is truncated.
TEST(PhysicalMemory, TotalIsRoundedUpByAMegabyteAvailableIsTruncated) {
  const Case cases[] = {
      {0, 0, 1, 0},
      {536'870'911, 1'048'575, 512, 0},
      {2'146'877'440, 1'048'576, 2048, 1},
      {2'147'483'648, 2'147'483'648, 2049, 2048},
      {(std::uint64_t{64} << 30) - 1, (std::uint64_t{64} << 30) - 1, 65536, 65535},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.totalBytes);
    std::uint32_t total = 0;
    EXPECT_EQ(PhysicalMemoryMb({c.totalBytes, c.availableBytes}, &total), c.availableMb);
    EXPECT_EQ(total, c.totalMb);
    EXPECT_EQ(PhysicalMemoryMb({c.totalBytes, c.availableBytes}), c.availableMb);
  }
}

TEST(PhysicalMemory, TheMachineReportsItsMemory) {
  const platform::MemoryStatus status = platform::QueryMemoryStatus();
  EXPECT_GE(status.totalBytes, std::uint64_t{64} << 20);
  EXPECT_GT(status.availableBytes, 0u);
  EXPECT_LE(status.availableBytes, status.totalBytes);

  std::uint32_t total = 0;
  const std::uint32_t available = GetPhysicalMemoryMb(&total);
  EXPECT_EQ(total, status.totalBytes / (1 << 20) + 1);
  EXPECT_GT(available, 0u);
  EXPECT_LT(available, total);
}

}  // namespace
