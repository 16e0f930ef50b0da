#include "diag/clock.h"

#include "platform/performance_counter.h"

namespace {

enum class ClockMode : std::uint32_t { Unchosen = 0, PerformanceCounter = 1, TickCount = 2 };

ClockMode g_clockMode = ClockMode::Unchosen;
std::int64_t g_ticksPerMillisecond = 0;
// Recorded when the clock is chosen; kept for inspection, no reading depends on it.
std::int64_t g_clockStart = 0;

void ChooseClock() {
  std::int64_t frequency = 0;
  if (!platform::ReadPerformanceFrequency(frequency) || frequency < 1000) {
    g_clockMode = ClockMode::TickCount;
    return;
  }
  platform::ReadPerformanceCounter(g_clockStart);
  g_ticksPerMillisecond = frequency / 1000;
  g_clockMode = ClockMode::PerformanceCounter;
}

}  // namespace

std::int64_t GetMilliseconds() {
  if (g_clockMode == ClockMode::Unchosen) ChooseClock();
  if (g_clockMode == ClockMode::PerformanceCounter) {
    std::int64_t count = 0;
    if (platform::ReadPerformanceCounter(count)) return count / g_ticksPerMillisecond;
  }
  return platform::ReadTickCount();
}
