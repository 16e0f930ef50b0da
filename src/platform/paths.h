#pragma once
// The running program's own file, and whether a file is at a path.

#include <string>

namespace platform {

// The full path of the running executable. False, with `path` empty, when the system
// cannot report it whole: a path cut short would name some other file.
bool GetExecutablePath(std::string& path);

// Whether a file or folder exists at `path`.
bool FileExists(const std::string& path);

// The separator between a folder and a name in a path.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace platform
