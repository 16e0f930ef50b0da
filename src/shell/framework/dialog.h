#pragma once
// The base of every dialog: one member handler behind a static dialog procedure.

#include <windows.h>

// Everything runs on the thread that created the dialog. The procedure stores `this` in the
// window's DWLP_USER at WM_INITDIALOG and forwards every later message to HandleMessage;
// messages that come before it (WM_SETFONT, creation) get the platform's default handling.
class CDialog {
 public:
  CDialog(const CDialog&) = delete;
  CDialog& operator=(const CDialog&) = delete;

  // The dialog's window; null before creation and again after WM_NCDESTROY (which the
  // handler still sees).
  HWND m_hWnd = nullptr;

  // Modeless, from template `templateId` of module `resources`. Null on failure.
  HWND Create(HINSTANCE resources, int templateId, HWND parent);
  // Modal. Returns the EndDialog result, or -1 when the dialog cannot be created.
  INT_PTR DoModal(HINSTANCE resources, int templateId, HWND owner);

  HWND Item(int id) const { return GetDlgItem(m_hWnd, id); }
  // Centres the dialog on `parent`, or on the work area of its monitor when `parent` is null,
  // hidden or minimized; the dialog is kept inside that work area.
  void CenterWindow(HWND parent);

 protected:
  CDialog() = default;
  // A window still open here is detached from this object before it is destroyed, so no
  // message reaches a handler that no longer exists.
  virtual ~CDialog();

  // True when the message is handled; `result` is then what the dialog reports. For
  // WM_INITDIALOG, WM_CTLCOLOR*, WM_COMPAREITEM, WM_VKEYTOITEM, WM_CHARTOITEM and
  // WM_QUERYDRAGICON it is the procedure's return value; for every other message it goes to
  // DWLP_MSGRESULT.
  virtual bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) = 0;

 private:
  static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
