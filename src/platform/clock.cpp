#include "platform/clock.h"

#include <x86intrin.h>

#include <ctime>

namespace platform {

std::uint64_t ReadTimeStampCounter() {
  return __rdtsc();
}

std::uint64_t CalendarSeconds() {
  return static_cast<std::uint64_t>(std::time(nullptr));
}

}  // namespace platform
