#pragma once
// The language resource module: a resource-only library named for the user's language,
// found beside the program, that replaces every text, template, menu and icon together.
// It is data and never code: it is mapped as an image resource and never executed, and
// only the program's own folder is looked in.
//
// Threadsafety: user-interface thread, during start-up.

#include <windows.h>

#include <cstdint>
#include <string>

// Where the per-user language choice lives, under HKEY_CURRENT_USER.
inline constexpr const char* kLanguageKey = "Software\\Quorvanta\\SYSTEM";

// Reads the "Language" value of HKEY_CURRENT_USER\`keyPath` into `languageId` when it is a
// 4-byte REG_DWORD; anything else leaves `languageId` as it was. Creates the key when it
// does not exist yet, writing no value.
void ReadLanguageId(const char* keyPath, std::uint32_t& languageId);

// "<folder>kt<id, at least four digits>.dll"; `folder` ends in a separator or is empty.
std::string LanguageModuleName(const std::string& folder, std::uint32_t languageId);

// The program's folder with a trailing separator, or empty when the program's path is
// unknown.
std::string ProgramFolder();

// Maps the module at `path` as resources only; null when it is missing or not loadable.
HMODULE LoadLanguageModule(const std::string& path);
