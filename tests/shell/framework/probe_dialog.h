#pragma once
// A modeless dialog of the test's own template with every framework mix-in, which records
// the commands it receives and exposes the tray record.

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <functional>
#include <vector>

#include "framework_test_ids.h"
#include "shell/framework/data_exchange.h"
#include "shell/framework/dialog.h"
#include "shell/framework/tray_icon.h"

namespace test_support {

class ProbeDialog : public CDialog,
                    public CWinDataExchangeEx<ProbeDialog>,
                    public CTrayIconImpl<ProbeDialog> {
 public:
  HINSTANCE ResourceInstance() const { return GetModuleHandleA(nullptr); }
  const NOTIFYICONDATAA& Record() const { return m_iconRecord; }
  void SetDefaultItem(UINT command) { m_defaultItem = command; }

  // Left hidden: focus moves show without it, and Wine without a window manager waits
  // seconds for every shown window to be unmapped again.
  bool Open() {
    const INITCOMMONCONTROLSEX classes{sizeof classes, ICC_UPDOWN_CLASS | ICC_USEREX_CLASSES};
    InitCommonControlsEx(&classes);
    return Create(ResourceInstance(), IDD_PROBE, nullptr) != nullptr;
  }

  std::vector<WORD> commands;
  std::vector<UINT> messages;
  std::function<void(HMENU)> onPrepareMenu;
  // When set, WM_INITDIALOG ends a modal dialog with this result at once.
  INT_PTR endAtStart = 0;

 protected:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
    messages.push_back(message);
    switch (message) {
      case WM_INITDIALOG:
        if (endAtStart != 0) EndDialog(m_hWnd, endAtStart);
        result = TRUE;
        return true;
      case WM_COMMAND:
        // Commands only: controls' notifications come with their window.
        if (lParam == 0) commands.push_back(LOWORD(wParam));
        return true;
      case WM_APP:
        result = 1234;
        return true;
      case WM_CTLCOLORDLG:
        result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
      default:
        return false;
    }
  }
  void PrepareMenu(HMENU popup) override {
    if (onPrepareMenu) onPrepareMenu(popup);
  }
};

}  // namespace test_support
