#pragma once
// The local calendar date and time.

#include <cstdint>

namespace platform {

struct LocalTime {
  std::uint32_t year;
  std::uint32_t month;  // 1 to 12
  std::uint32_t day;    // 1 to 31
  std::uint32_t hour;   // 0 to 23
  std::uint32_t minute;
  std::uint32_t second;
};

LocalTime ReadLocalTime();

}  // namespace platform
