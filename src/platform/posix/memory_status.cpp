#include "platform/memory_status.h"

#include <fstream>
#include <sstream>
#include <string>

namespace platform {

// /proc/meminfo lines read "MemTotal:       16318480 kB". MemAvailable is the kernel's
// own estimate of what can be handed out without swapping.
MemoryStatus QueryMemoryStatus() {
  MemoryStatus status;
  std::ifstream meminfo("/proc/meminfo");
  for (std::string line; std::getline(meminfo, line);) {
    std::istringstream fields(line);
    std::string name;
    std::uint64_t kilobytes = 0;
    if (!(fields >> name >> kilobytes)) continue;
    if (name == "MemTotal:") status.totalBytes = kilobytes * 1024;
    if (name == "MemAvailable:") status.availableBytes = kilobytes * 1024;
  }
  return status;
}

}  // namespace platform
