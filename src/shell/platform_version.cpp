#include "shell/platform_version.h"

#include <windows.h>

bool IsSupportedPlatform(std::uint32_t major, std::uint32_t minor) {
  return major >= 5 || (major == 4 && minor >= 90);
}

bool QueryPlatformVersion(std::uint32_t& major, std::uint32_t& minor) {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!GetVersionExA(&version)) return false;
#pragma GCC diagnostic pop
  major = version.dwMajorVersion;
  minor = version.dwMinorVersion;
  return true;
}
