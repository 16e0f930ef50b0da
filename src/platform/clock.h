#pragma once
// Clocks that the engine seeds its generators from.

#include <cstdint>

namespace platform {

// The processor's time-stamp counter (RDTSC).
std::uint64_t ReadTimeStampCounter();

// Calendar time in seconds since 1970-01-01 00:00 UTC.
std::uint64_t CalendarSeconds();

}  // namespace platform
