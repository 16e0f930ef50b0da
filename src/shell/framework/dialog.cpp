#include "shell/framework/dialog.h"

#include "shell/framework/message_loop.h"

namespace {

// The messages whose answer a dialog procedure returns itself instead of through
// DWLP_MSGRESULT.
bool ReturnsResultDirectly(UINT message) {
  switch (message) {
    case WM_INITDIALOG:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
    case WM_QUERYDRAGICON:
      return true;
    default:
      return false;
  }
}

}  // namespace

HWND CDialog::Create(HINSTANCE resources, int templateId, HWND parent) {
  return CreateDialogParamA(resources, MAKEINTRESOURCEA(templateId), parent, DialogProc,
                            reinterpret_cast<LPARAM>(this));
}

INT_PTR CDialog::DoModal(HINSTANCE resources, int templateId, HWND owner) {
  return DialogBoxParamA(resources, MAKEINTRESOURCEA(templateId), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

void CDialog::CenterWindow(HWND parent) {
  RECT dialog;
  if (!GetWindowRect(m_hWnd, &dialog)) return;
  const bool onParent = parent != nullptr && IsWindowVisible(parent) && !IsIconic(parent);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoA(MonitorFromWindow(onParent ? parent : m_hWnd, MONITOR_DEFAULTTONEAREST),
                       &monitor)) {
    return;
  }
  const RECT& area = monitor.rcWork;
  RECT centre = area;
  if (onParent) GetWindowRect(parent, &centre);

  const LONG width = dialog.right - dialog.left;
  const LONG height = dialog.bottom - dialog.top;
  LONG left = (centre.left + centre.right - width) / 2;
  LONG top = (centre.top + centre.bottom - height) / 2;
  // Inside the work area, its top-left corner first when the dialog is larger than it.
  if (left + width > area.right) left = area.right - width;
  if (top + height > area.bottom) top = area.bottom - height;
  if (left < area.left) left = area.left;
  if (top < area.top) top = area.top;
  SetWindowPos(m_hWnd, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

CDialog::~CDialog() {
  if (m_hWnd == nullptr) return;
  SetWindowLongPtrA(m_hWnd, DWLP_USER, 0);
  DestroyWindow(m_hWnd);
}

INT_PTR CALLBACK CDialog::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  CDialog* self;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<CDialog*>(lParam);
    SetWindowLongPtrA(window, DWLP_USER, lParam);
    self->m_hWnd = window;
  } else {
    self = reinterpret_cast<CDialog*>(GetWindowLongPtrA(window, DWLP_USER));
    if (self == nullptr) return FALSE;
  }

  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->HandleMessage(message, wParam, lParam, result);
  } catch (...) {
    KeepWindowProcedureException(std::current_exception());
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrA(window, DWLP_USER, 0);
    self->m_hWnd = nullptr;
  }
  if (!handled) return FALSE;
  if (ReturnsResultDirectly(message)) return result;
  SetWindowLongPtrA(window, DWLP_MSGRESULT, result);
  return TRUE;
}
