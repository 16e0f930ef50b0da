#pragma once
// A copy of the built program (Sieveline.exe with kt1033.dll beside it) in a fresh
// folder of its own, so that its settings file and test logs start from nothing and are
// removed with the folder.
//
// Threadsafety: the test's own thread only.

#include <string>
#include <vector>

#include "support/temp_folder.h"

namespace program_driver {

class ProgramCopy {
 public:
  ProgramCopy();

  const std::string& Executable() const { return m_executable; }
  std::string File(const std::string& name) const { return m_folder.File(name); }
  // The settings file: the executable's path with ".ini".
  std::string SettingsPath() const;
  void WriteSettings(const std::string& text) const;
  // Every test log of the folder, oldest name first.
  std::vector<std::string> LogFiles() const;
  // Copies the file at the build-tree path `source` into the folder.
  void Add(const std::string& source) const;

 private:
  test_support::TempFolder m_folder;
  std::string m_executable;
};

// A path of the build tree as this process spells it: Wine shows the host's root as Z:.
std::string BuildTreePath(const std::string& path);

// The text of the key `key` in `section` of an INI file; `missing` when absent.
std::string ProfileText(const std::string& path, const char* section, const char* key);

}  // namespace program_driver
