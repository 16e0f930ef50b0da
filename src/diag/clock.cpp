#include "diag/clock.h"

#include <chrono>

// A plain monotonic clock until the counter-based one is in place.
std::int64_t GetMilliseconds() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}
