#include "program_copy.h"

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

namespace program_driver {

std::string BuildTreePath(const std::string& path) {
  std::string windowsPath = path;
  std::replace(windowsPath.begin(), windowsPath.end(), '/', '\\');
  return path.starts_with('/') ? "Z:" + windowsPath : windowsPath;
}

ProgramCopy::ProgramCopy() : m_executable(m_folder.File("Sieveline.exe")) {
  Add(SIEVELINE_EXE);
  Add(SIEVELINE_LANGUAGE_MODULE);
}

void ProgramCopy::Add(const std::string& source) const {
  const std::string from = BuildTreePath(source);
  const std::string to = m_folder.File(std::filesystem::path(from).filename().string());
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE)) throw std::runtime_error("cannot copy " + from);
}

std::string ProgramCopy::SettingsPath() const {
  return m_folder.File("Sieveline.ini");
}

void ProgramCopy::WriteSettings(const std::string& text) const {
  test_support::WriteFile(SettingsPath(), text);
}

std::vector<std::string> ProgramCopy::LogFiles() const {
  std::vector<std::string> logs;
  for (const auto& entry : std::filesystem::directory_iterator(m_folder.Path())) {
    const std::string name = entry.path().filename().string();
    if (name.starts_with("TOVA_") && name.ends_with(".log")) logs.push_back(entry.path().string());
  }
  std::sort(logs.begin(), logs.end());
  return logs;
}

std::string ProfileText(const std::string& path, const char* section, const char* key) {
  char text[64];
  GetPrivateProfileStringA(section, key, "missing", text, sizeof text, path.c_str());
  return text;
}

}  // namespace program_driver
