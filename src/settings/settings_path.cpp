#include "settings/settings_path.h"

#include "platform/paths.h"

bool GetSettingsPath(std::string& path) {
  std::string executable;
  if (!platform::GetExecutablePath(executable)) {
    path.clear();
    return false;
  }
  path = SettingsPathFor(executable);
  return platform::FileExists(path);
}

std::string SettingsPathFor(const std::string& executablePath) {
  const std::size_t name = executablePath.find_last_of("\\/") + 1;  // npos + 1 is 0
  const std::size_t dot = executablePath.rfind('.');
  const bool hasExtension =
      dot != std::string::npos && dot >= name && executablePath.find(' ', dot) == std::string::npos;
  return executablePath.substr(0, hasExtension ? dot : std::string::npos) + ".ini";
}
