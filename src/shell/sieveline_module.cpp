#include "shell/sieveline_module.h"

#include <memory>

#include "diag/exception.h"
#include "shell/framework/app_message_loop.h"
#include "shell/main_dlg.h"

int CExeModule::Run(const char*, int showCommand) {
  CAppMessageLoop loop;
  AddMessageLoop(&loop);
  auto panel = std::make_unique<CMainDlg>(*this, *this, ResourceModulePath());
  int exitCode = -1;
  if (panel->Create()) {
    ShowWindow(panel->m_hWnd, showCommand);
    try {
      exitCode = loop.Run();
    } catch (QV::CException* exception) {
      exception->ReportError("Application will be terminated.\n", 0);
      if (!exception->isStatic) delete exception;
      if (IsWindow(panel->m_hWnd)) DestroyWindow(panel->m_hWnd);
      exitCode = -1;
    }
  }
  RemoveMessageLoop();
  // The panel's destruction removes the notification-area icon.
  panel.reset();
  return exitCode;
}
