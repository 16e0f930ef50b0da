#include "platform/paths.h"

#include <limits.h>
#include <unistd.h>

namespace platform {

bool GetExecutablePath(std::string& path) {
  char buffer[PATH_MAX];
  // readlink does not terminate, and a link that fills the buffer has been cut short.
  const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof buffer) {
    path.clear();
    return false;
  }
  path.assign(buffer, static_cast<std::size_t>(length));
  return true;
}

bool FileExists(const std::string& path) {
  return access(path.c_str(), F_OK) == 0;
}

}  // namespace platform
