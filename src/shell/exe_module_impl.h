#pragma once
// The common part of the application module: the library module underneath, the message
// boxes, the single-instance mutex and the language choice. `T` is the program's module
// class, which supplies Run.
//
// Threadsafety: user-interface thread only; constructed before the entry point runs.

#include <windows.h>

#include <cstdint>
#include <string>

#include "platform/resource_text.h"
#include "shell/exe_module.h"
#include "shell/framework/app_module.h"
#include "shell/language_module.h"

template <class T>
class IExeModuleImpl : public CAppModule {
 public:
  // The severity captions come from the program's own string table: no language module
  // is loaded yet.
  IExeModuleImpl() : languageId(GetThreadLocale()) {}
  IExeModuleImpl(const IExeModuleImpl&) = delete;
  IExeModuleImpl& operator=(const IExeModuleImpl&) = delete;
  ~IExeModuleImpl() {
    if (instanceMutex) ReleaseMutex(instanceMutex);
  }

  HRESULT Init(const char*) {
    ReadLanguageId(kLanguageKey, languageId);
    // Without a known folder of its own the program takes no language module: a search
    // along the library path could map anybody's kt*.dll.
    const std::string folder = ProgramFolder();
    if (folder.empty()) return S_OK;
    SetCurrentDirectoryA(folder.c_str());
    const std::string name = LanguageModuleName(folder, languageId);
    if (HMODULE module = LoadLanguageModule(name)) {
      SetResourceInstance(module);
      platform::SetResourceModule(module);
      SetThreadLocale(languageId);
      resourceModulePath = name;
    }
    return S_OK;
  }

  // The file the current resources come from: the language module, or the program.
  std::string ResourceModulePath() const {
    if (!resourceModulePath.empty()) return resourceModulePath;
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    return length == 0 || length >= MAX_PATH ? std::string() : std::string(path, length);
  }

  // Owner, captions and the boxes themselves (owner null, so the boxes have none).
  CModuleMessages messages;
  HANDLE instanceMutex = nullptr;
  std::uint32_t languageId;

 private:
  // A data-file module has no file name the system reports, so the path it was loaded
  // from is kept for the help file.
  std::string resourceModulePath;
};
