#pragma once
// Where the running program's executable file lies.

#include <string>

namespace platform {

// The executable's full path; false, with `path` empty, when the system cannot tell.
bool GetExecutablePath(std::string& path);

// The separator between a folder and a name in a path.
#if defined(_WIN32)
inline constexpr char kPathSeparator = '\\';
#else
inline constexpr char kPathSeparator = '/';
#endif

}  // namespace platform
