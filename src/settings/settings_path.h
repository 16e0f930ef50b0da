#pragma once
// Where the settings live: the executable's path with the extension ".ini", so that
// kt.exe keeps its settings in kt.ini in the same folder.

#include <string>

// Builds the settings path of the running executable into `path` and returns whether a
// file exists there. False with an empty path when the executable's path is unknown.
bool GetSettingsPath(std::string& path);

// `executablePath` with its extension replaced by ".ini", or ".ini" appended when its
// file name has none. An extension is the file name's last "." and what follows it,
// and holds no space.
std::string SettingsPathFor(const std::string& executablePath);
