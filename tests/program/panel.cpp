#include "panel.h"

#include "wait_until.h"

namespace program_driver {
namespace {

constexpr UINT kSendTimeoutMs = 20000;
constexpr WPARAM kTrayIconId = 130;
constexpr int kMessageBoxText = 0xFFFF;

struct WindowSearch {
  DWORD processId;
  const char* className;
  const char* caption;  // null: any
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM parameter) {
  auto& search = *reinterpret_cast<WindowSearch*>(parameter);
  DWORD owner = 0;
  GetWindowThreadProcessId(window, &owner);
  char name[64] = "";
  GetClassNameA(window, name, sizeof name);
  char caption[64] = "";
  GetWindowTextA(window, caption, sizeof caption);
  if (owner == search.processId && lstrcmpA(name, search.className) == 0 &&
      (!search.caption || lstrcmpA(caption, search.caption) == 0)) {
    search.found = window;
    return FALSE;
  }
  return TRUE;
}

HWND FindProcessWindow(DWORD processId, const char* className, const char* caption) {
  WindowSearch search{processId, className, caption};
  EnumWindows(MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
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

int Panel::Selection(int list) const {
  return static_cast<int>(SendBounded(Item(list), CB_GETCURSEL, 0, 0));
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

bool AnswerWarning(DWORD processId, int button, std::string& text) {
  HWND box = nullptr;
  if (!WaitUntil([&] { return (box = FindProcessWindow(processId, "#32770", "Warning")); })) {
    return false;
  }
  text = WindowText(GetDlgItem(box, kMessageBoxText));
  PostMessageA(GetDlgItem(box, button), BM_CLICK, 0, 0);
  return WaitUntil([&] { return !IsWindow(box); });
}

}  // namespace program_driver
