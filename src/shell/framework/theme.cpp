#include "shell/framework/theme.h"

#include <string>

namespace {

// ETDT_ENABLE | ETDT_USETABTEXTURE: the tab control's texture as the dialog background.
constexpr DWORD kEnableTab = 6;

using EnableThemeDialogTextureFunction = HRESULT(WINAPI*)(HWND, DWORD);

// A full path into the system folder: a copy planted beside the program is never loaded.
HMODULE LoadSystemLibrary(const char* name) {
  char folder[MAX_PATH];
  const UINT length = GetSystemDirectoryA(folder, sizeof folder);
  if (length == 0 || length >= sizeof folder) return nullptr;
  const std::string path = std::string(folder, length) + "\\" + name;
  return LoadLibraryA(path.c_str());
}

}  // namespace

CThemeImpl::~CThemeImpl() {
  if (m_library != nullptr) FreeLibrary(m_library);
}

bool CThemeImpl::EnableThemeDialogTexture(HWND window) {
  if (m_library == nullptr) m_library = LoadSystemLibrary("uxtheme.dll");
  if (m_library == nullptr) return false;
  const auto enable = reinterpret_cast<EnableThemeDialogTextureFunction>(
      reinterpret_cast<void*>(GetProcAddress(m_library, "EnableThemeDialogTexture")));
  return enable != nullptr && SUCCEEDED(enable(window, kEnableTab));
}
