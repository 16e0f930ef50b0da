#include <windows.h>

#include "platform/memory_status.h"

namespace platform {

namespace {

using GlobalMemoryStatusExProc = BOOL(WINAPI*)(LPMEMORYSTATUSEX);

// The extended query exists on NT-family systems only, so it is looked up rather than
// linked; older systems and a failing call fall back to the legacy query.
bool QueryExtended(MemoryStatus& status) {
  if (GetVersion() & 0x80000000u) return false;
  const FARPROC proc = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GlobalMemoryStatusEx");
  if (proc == nullptr) return false;
  const auto query = reinterpret_cast<GlobalMemoryStatusExProc>(reinterpret_cast<void (*)()>(proc));
  MEMORYSTATUSEX extended = {};
  extended.dwLength = sizeof extended;
  if (!query(&extended)) return false;
  status.totalBytes = extended.ullTotalPhys;
  status.availableBytes = extended.ullAvailPhys;
  return true;
}

}  // namespace

MemoryStatus QueryMemoryStatus() {
  MemoryStatus status;
  if (QueryExtended(status)) return status;
  MEMORYSTATUS legacy = {};
  legacy.dwLength = sizeof legacy;
  GlobalMemoryStatus(&legacy);
  status.totalBytes = legacy.dwTotalPhys;
  status.availableBytes = legacy.dwAvailPhys;
  return status;
}

}  // namespace platform
