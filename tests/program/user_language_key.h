#pragma once
// The per-user key HKEY_CURRENT_USER\Software\Quorvanta\SYSTEM, where the program finds
// its "Language" value. A test that changes the value holds a LanguageValueGuard, which
// puts the user's own value (or its absence) back afterwards.
//
// Threadsafety: the test's own thread only.

#include <windows.h>

namespace program_driver {

bool UserKeyExists();
// Deletes the key, which must have no subkeys; true when it is gone.
bool DeleteUserKey();
void SetLanguageValue(DWORD type, const void* data, DWORD bytes);

class LanguageValueGuard {
 public:
  LanguageValueGuard();
  ~LanguageValueGuard();
  LanguageValueGuard(const LanguageValueGuard&) = delete;
  LanguageValueGuard& operator=(const LanguageValueGuard&) = delete;

 private:
  bool m_present = false;
  DWORD m_type = 0;
  BYTE m_data[256] = {};
  DWORD m_size = sizeof m_data;
};

}  // namespace program_driver
