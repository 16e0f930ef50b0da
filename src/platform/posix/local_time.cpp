#include "platform/local_time.h"

#include <time.h>

namespace platform {

LocalTime ReadLocalTime() {
  const time_t now = time(nullptr);
  tm local{};
  localtime_r(&now, &local);
  return {static_cast<std::uint32_t>(local.tm_year + 1900),
          static_cast<std::uint32_t>(local.tm_mon + 1),
          static_cast<std::uint32_t>(local.tm_mday),
          static_cast<std::uint32_t>(local.tm_hour),
          static_cast<std::uint32_t>(local.tm_min),
          static_cast<std::uint32_t>(local.tm_sec)};
}

}  // namespace platform
