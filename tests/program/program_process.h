#pragma once
// The program under test as a process: started the way a user's shell starts it, ended
// by itself or, when a test leaves it behind, killed, so no copy outlives its test.
//
// Threadsafety: the test's own thread only.

#include <windows.h>

#include <string>

namespace program_driver {

class ProgramProcess {
 public:
  // Starts `executable` with `currentDirectory` as its current folder.
  ProgramProcess(const std::string& executable, const std::string& currentDirectory);
  ~ProgramProcess();
  ProgramProcess(const ProgramProcess&) = delete;
  ProgramProcess& operator=(const ProgramProcess&) = delete;

  DWORD Id() const { return m_info.dwProcessId; }
  HANDLE Handle() const { return m_info.hProcess; }
  bool Running() const;
  DWORD HandleCount() const;
  DWORD ThreadCount() const;
  // The process's committed private memory.
  SIZE_T CommittedBytes() const;
  // Waits, within the deadline, for the process to end; false if it is still running.
  bool WaitForExit(DWORD& exitCode) const;

 private:
  PROCESS_INFORMATION m_info{};
};

}  // namespace program_driver
