#include "program_process.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

#include <stdexcept>

#include "wait_until.h"

namespace program_driver {

ProgramProcess::ProgramProcess(const std::string& executable, const std::string& currentDirectory) {
  std::string commandLine = "\"" + executable + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  if (!CreateProcessA(executable.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                      currentDirectory.c_str(), &startup, &m_info)) {
    throw std::runtime_error("cannot start " + executable);
  }
}

ProgramProcess::~ProgramProcess() {
  if (Running()) {
    TerminateProcess(m_info.hProcess, 1);
    WaitForSingleObject(m_info.hProcess, kDeadlineMs);
  }
  CloseHandle(m_info.hThread);
  CloseHandle(m_info.hProcess);
}

bool ProgramProcess::Running() const {
  return WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

// Wine answers GetProcessHandleCount with 0; the system's handle table counts for real.
DWORD ProgramProcess::HandleCount() const {
  struct Entry {
    ULONG processId;
    BYTE type, flags;
    USHORT value;
    void* object;
    ULONG access;
  };
  struct Table {
    ULONG count;
    Entry entries[1];
  };
  constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
  std::vector<char> buffer(64 << 20);
  ULONG length = 0;
  if (NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                               static_cast<ULONG>(buffer.size()), &length) != 0) {
    return 0;
  }
  const auto& table = *reinterpret_cast<const Table*>(buffer.data());
  DWORD count = 0;
  for (ULONG i = 0; i < table.count; ++i) count += table.entries[i].processId == Id();
  return count;
}

DWORD ProgramProcess::ThreadCount() const {
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
  THREADENTRY32 thread{};
  thread.dwSize = sizeof thread;
  DWORD count = 0;
  for (BOOL more = Thread32First(snapshot, &thread); more; more = Thread32Next(snapshot, &thread)) {
    count += thread.th32OwnerProcessID == Id();
  }
  CloseHandle(snapshot);
  return count;
}

// Wine reports no private usage of another process; its address space tells.
SIZE_T ProgramProcess::CommittedBytes() const {
  SIZE_T committed = 0;
  MEMORY_BASIC_INFORMATION region;
  for (auto address = static_cast<char*>(nullptr);
       VirtualQueryEx(m_info.hProcess, address, &region, sizeof region) != 0;
       address = static_cast<char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
  }
  return committed;
}

bool ProgramProcess::WaitForExit(DWORD& exitCode) const {
  if (WaitForSingleObject(m_info.hProcess, kDeadlineMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(m_info.hProcess, &exitCode) != 0;
}

}  // namespace program_driver
