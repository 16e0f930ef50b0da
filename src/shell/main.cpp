// The program's entry point: start-up order, single instance, platform check and exit code.

#include <windows.h>

#include <commctrl.h>

#include "diag/text.h"
#include "diag/tools.h"
#include "shell/main_dlg.h"
#include "shell/platform_version.h"
#include "shell/sieveline_module.h"

namespace {

constexpr std::uint32_t kInstanceMutexName = 128;  // "kt"
constexpr std::uint32_t kObsoletePlatform = 5024;

// Brings the running copy's panel forward; a hidden panel is raised but stays hidden.
void BringRunningPanelForward() {
  HWND panel = FindWindowA(kPanelClassName, nullptr);
  if (!panel || !IsWindow(panel)) return;
  if (IsIconic(panel)) {
    ShowWindow(panel, SW_RESTORE);
  } else {
    BringWindowToTop(panel);
  }
  SetForegroundWindow(panel);
}

bool PlatformSupported() {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  return QueryPlatformVersion(major, minor) && IsSupportedPlatform(major, minor);
}

int RunProgram(char* cmdLine, int showCommand) {
  if (g_module.Init(cmdLine) < 0) return 0;

  const std::string mutexName = ResolveText(TextId(kInstanceMutexName));
  g_module.instanceMutex = CreateMutexA(nullptr, TRUE, mutexName.c_str());
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    BringRunningPanelForward();
    return 0;
  }

  InitTools();
  int exitCode = 0;
  if (PlatformSupported() || MessageBoxA(nullptr, ResolveText(TextId(kObsoletePlatform)).c_str(),
                                         g_module.messages.severityCaptions[0].c_str(),
                                         MB_YESNO | MB_ICONQUESTION | MB_SETFOREGROUND) != IDNO) {
    exitCode = g_module.Run(cmdLine, showCommand);
  }
  UninitTools();
  return exitCode;
}

}  // namespace

CExeModule g_module;

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR cmdLine, int showCommand) {
  INITCOMMONCONTROLSEX controls{sizeof controls,
                                ICC_WIN95_CLASSES | ICC_COOL_CLASSES | ICC_INTERNET_CLASSES};
  InitCommonControlsEx(&controls);
  g_module.CAppModule::Init(instance);
  RegisterPanelClass(instance);
  const int exitCode = RunProgram(cmdLine, showCommand);
  g_module.Term();
  return exitCode;
}
