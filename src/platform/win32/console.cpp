#include <windows.h>

#include "platform/console.h"

namespace platform {

bool StandardErrorIsTerminal() {
  DWORD mode = 0;
  return GetConsoleMode(GetStdHandle(STD_ERROR_HANDLE), &mode) != 0;
}

std::uint32_t LogicalProcessorCount() {
  const DWORD count = GetActiveProcessorCount(ALL_PROCESSOR_GROUPS);
  return count > 0 ? count : 1;
}

bool SetProcessPriority(std::uint32_t level) {
  constexpr DWORD kClasses[] = {NORMAL_PRIORITY_CLASS, ABOVE_NORMAL_PRIORITY_CLASS,
                                HIGH_PRIORITY_CLASS};
  return level < 3 && SetPriorityClass(GetCurrentProcess(), kClasses[level]) != 0;
}

}  // namespace platform
