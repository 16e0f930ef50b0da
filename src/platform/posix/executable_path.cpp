#include "platform/executable_path.h"

#include <limits.h>
#include <unistd.h>

namespace platform {

bool GetExecutablePath(std::string& path) {
  char buffer[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
    path.clear();
    return false;
  }
  path.assign(buffer, static_cast<std::size_t>(length));
  return true;
}

}  // namespace platform
