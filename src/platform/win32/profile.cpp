#include <windows.h>

#include "platform/profile.h"

namespace platform {

std::uint32_t ReadProfileInt(const std::string& path, const char* section, const char* key,
                             std::uint32_t fallback) {
  return GetPrivateProfileIntA(section, key, static_cast<INT>(fallback), path.c_str());
}

bool WriteProfileText(const std::string& path, const char* section, const char* key,
                      const char* value) {
  return WritePrivateProfileStringA(section, key, value, path.c_str()) != FALSE;
}

}  // namespace platform
