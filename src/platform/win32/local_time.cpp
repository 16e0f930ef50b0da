#include <windows.h>

#include "platform/local_time.h"

namespace platform {

LocalTime ReadLocalTime() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  return {now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond};
}

}  // namespace platform
