#include "platform/performance_counter.h"

#include <time.h>

namespace platform {

// The monotonic clock in nanoseconds serves as the performance counter.
bool ReadPerformanceFrequency(std::int64_t& countsPerSecond) {
  countsPerSecond = 1'000'000'000;
  return true;
}

bool ReadPerformanceCounter(std::int64_t& count) {
  timespec now;
  if (clock_gettime(CLOCK_MONOTONIC, &now) != 0) return false;
  count = static_cast<std::int64_t>(now.tv_sec) * 1'000'000'000 + now.tv_nsec;
  return true;
}

std::uint32_t ReadTickCount() {
  timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return static_cast<std::uint32_t>(static_cast<std::uint64_t>(now.tv_sec) * 1000 +
                                    static_cast<std::uint64_t>(now.tv_nsec) / 1'000'000);
}

}  // namespace platform
