#include <windows.h>
// windows.h first: shlwapi.h needs its types.
#include <shlwapi.h>

#include "platform/visual_styles.h"

namespace platform {

namespace {

// The major version of the common controls library the process would load. A library
// without DllGetVersion predates it: version 4.
bool CommonControlsMajorVersion(DWORD& major) {
  const HMODULE library = LoadLibraryA("comctl32.dll");
  if (library == nullptr) return false;
  bool known = true;
  major = 4;
  const auto getVersion = reinterpret_cast<DLLGETVERSIONPROC>(
      reinterpret_cast<void*>(GetProcAddress(library, "DllGetVersion")));
  if (getVersion != nullptr) {
    DLLVERSIONINFO version{};
    version.cbSize = sizeof version;
    known = SUCCEEDED(getVersion(&version));
    major = version.dwMajorVersion;
  }
  FreeLibrary(library);
  return known;
}

}  // namespace

bool VisualStylesAvailable() {
  OSVERSIONINFOA system{};
  system.dwOSVersionInfoSize = sizeof system;
  // A failed query leaves the platform id 0, which is not the NT family.
  GetVersionExA(&system);
  DWORD major = 0;
  return CommonControlsMajorVersion(major) && system.dwPlatformId == VER_PLATFORM_WIN32_NT &&
         major >= 6;
}

}  // namespace platform
