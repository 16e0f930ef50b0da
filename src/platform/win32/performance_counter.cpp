#include <windows.h>

#include "platform/performance_counter.h"

namespace platform {

bool ReadPerformanceFrequency(std::int64_t& countsPerSecond) {
  LARGE_INTEGER frequency;
  if (!QueryPerformanceFrequency(&frequency)) return false;
  countsPerSecond = frequency.QuadPart;
  return true;
}

bool ReadPerformanceCounter(std::int64_t& count) {
  LARGE_INTEGER counter;
  if (!QueryPerformanceCounter(&counter)) return false;
  count = counter.QuadPart;
  return true;
}

std::uint32_t ReadTickCount() {
  return GetTickCount();
}

}  // namespace platform
