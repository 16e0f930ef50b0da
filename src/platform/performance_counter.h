#pragma once
// The system's high-resolution counter and its coarse millisecond tick count.

#include <cstdint>

namespace platform {

// Counts per second of the performance counter; false when there is none.
bool ReadPerformanceFrequency(std::int64_t& countsPerSecond);
// The performance counter now; false when it cannot be read.
bool ReadPerformanceCounter(std::int64_t& count);
// Milliseconds since the system started, wrapping at 2^32.
std::uint32_t ReadTickCount();

}  // namespace platform
