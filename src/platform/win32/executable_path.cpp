#include <windows.h>

#include "platform/executable_path.h"

namespace platform {

bool GetExecutablePath(std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
  // A full buffer means the path was cut: no usable path.
  if (length == 0 || length >= MAX_PATH) {
    path.clear();
    return false;
  }
  path.assign(buffer, length);
  return true;
}

}  // namespace platform
