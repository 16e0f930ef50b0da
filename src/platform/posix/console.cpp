#include "platform/console.h"

#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>

namespace platform {

bool StandardErrorIsTerminal() {
  return isatty(STDERR_FILENO) == 1;
}

std::uint32_t LogicalProcessorCount() {
  cpu_set_t set;
  if (sched_getaffinity(0, sizeof(set), &set) == 0 && CPU_COUNT(&set) > 0) {
    return static_cast<std::uint32_t>(CPU_COUNT(&set));
  }
  const long online = sysconf(_SC_NPROCESSORS_ONLN);
  return online > 0 ? static_cast<std::uint32_t>(online) : 1;
}

bool SetProcessPriority(std::uint32_t level) {
  // The nice values nearest to the Windows classes' place above the normal one.
  constexpr int kNice[] = {0, -5, -10};
  return level < 3 && setpriority(PRIO_PROCESS, 0, kNice[level]) == 0;
}

}  // namespace platform
