#include "shell/language_module.h"

#include <cstdio>

#include "platform/paths.h"

void ReadLanguageId(const char* keyPath, std::uint32_t& languageId) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, keyPath, 0, KEY_READ | KEY_WRITE, &key) != ERROR_SUCCESS) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, keyPath, 0, nullptr, REG_OPTION_NON_VOLATILE,
                        KEY_READ | KEY_WRITE, nullptr, &key, nullptr) == ERROR_SUCCESS) {
      RegCloseKey(key);
    }
    return;
  }
  DWORD type = 0;
  DWORD value = 0;
  DWORD size = sizeof value;
  // A value of another type or size is someone else's: it would give a garbled or
  // partly read language number.
  if (RegQueryValueExA(key, "Language", nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
          ERROR_SUCCESS &&
      type == REG_DWORD && size == sizeof value) {
    languageId = value;
  }
  RegCloseKey(key);
}

std::string LanguageModuleName(const std::string& folder, std::uint32_t languageId) {
  char name[32];
  std::snprintf(name, sizeof name, "kt%04u.dll", static_cast<unsigned>(languageId));
  return folder + name;
}

std::string ProgramFolder() {
  std::string path;
  if (!platform::GetExecutablePath(path)) return {};
  const std::size_t separator = path.find_last_of("\\/");
  if (separator == std::string::npos) return {};
  return path.substr(0, separator + 1);
}

HMODULE LoadLanguageModule(const std::string& path) {
  return LoadLibraryExA(path.c_str(), nullptr,
                        LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
}
