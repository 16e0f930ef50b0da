#include <windows.h>

#include "platform/paths.h"

namespace platform {

bool GetExecutablePath(std::string& path) {
  char buffer[MAX_PATH];
  // A path that fills the buffer has been cut short (and may lack its terminator).
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) {
    path.clear();
    return false;
  }
  path.assign(buffer, length);
  return true;
}

bool FileExists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

}  // namespace platform
