#pragma once
// The themed dialog background, from the theme library when the system has one.

#include <windows.h>

// Mixed into a dialog; runs on the dialog's thread. The library is loaded on first use, from
// the system folder only, and freed with the object.
class CThemeImpl {
 public:
  CThemeImpl() = default;
  ~CThemeImpl();
  CThemeImpl(const CThemeImpl&) = delete;
  CThemeImpl& operator=(const CThemeImpl&) = delete;

  // EnableThemeDialogTexture(window, ETDT_ENABLETAB). False when the library or the function
  // is missing or the call fails.
  bool EnableThemeDialogTexture(HWND window);

 private:
  HMODULE m_library = nullptr;
};
