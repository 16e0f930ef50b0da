#include "program_process.h"

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

bool ProgramProcess::WaitForExit(DWORD& exitCode) const {
  if (WaitForSingleObject(m_info.hProcess, kDeadlineMs) != WAIT_OBJECT_0) return false;
  return GetExitCodeProcess(m_info.hProcess, &exitCode) != 0;
}

}  // namespace program_driver
