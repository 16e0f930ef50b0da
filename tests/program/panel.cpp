#include "panel.h"

#include "wait_until.h"

namespace program_driver {
namespace {

constexpr UINT kSendTimeoutMs = 20000;
constexpr WPARAM kTrayIconId = 130;
constexpr int kMessageBoxText = 0xFFFF;

// A top-level window of `processId` with that class and, unless null, that caption.
HWND FindProcessWindow(DWORD processId, const char* className, const char* caption) {
  HWND window = nullptr;
  while ((window = FindWindowExA(nullptr, window, className, caption))) {
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == processId) return window;
  }
  return nullptr;
}

LRESULT SendBounded(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, kSendTimeoutMs, &result);
  return static_cast<LRESULT>(result);
}

std::string WindowText(HWND window) {
  char text[512] = "";
  SendBounded(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

}  // namespace

Panel::Panel(DWORD processId) {
  WaitUntil([&] {
    HWND window = FindProcessWindow(processId, "QV:Window_class", nullptr);
    DWORD_PTR ignored;
    // Answering a message means the panel's message loop is running.
    if (window && IsWindowVisible(window) &&
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, kSendTimeoutMs, &ignored)) {
      m_window = window;
    }
    return m_window != nullptr;
  });
}

std::string Panel::Caption() const {
  return WindowText(m_window);
}

std::string Panel::Text(int control) const {
  return WindowText(Item(control));
}

bool Panel::Checked(int box) const {
  return SendBounded(Item(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

bool Panel::Focused(int control) const {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(m_window, nullptr), &info) &&
         info.hwndFocus == Item(control);
}

void Panel::Type(int control, const std::string& text) const {
  SendBounded(Item(control), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Panel::Click(int control) const {
  SendBounded(Item(control), BM_CLICK, 0, 0);
}

void Panel::PostSystemCommand(WPARAM command) const {
  PostMessageA(m_window, WM_SYSCOMMAND, command, 0);
}

void Panel::PostTrayDoubleClick() const {
  PostMessageA(m_window, RegisterWindowMessageA("WM_TRAYICON"), kTrayIconId, WM_LBUTTONDBLCLK);
}

HWND WaitForDialog(DWORD processId, const char* caption) {
  HWND box = nullptr;
  WaitUntil([&] { return (box = FindProcessWindow(processId, "#32770", caption)) != nullptr; });
  return box;
}

bool PressAndWaitClosed(HWND box, int button) {
  PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(box); });
}

bool AnswerWarning(DWORD processId, int button, std::string& text) {
  HWND box = WaitForDialog(processId, "Warning");
  if (!box) return false;
  text = WindowText(GetDlgItem(box, kMessageBoxText));
  return PressAndWaitClosed(box, button);
}

}  // namespace program_driver
