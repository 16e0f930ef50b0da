#pragma once
// The program's main panel and message boxes as a user sees and works them, from
// another process: texts, states and focus read back; clicks, typing, system commands
// and the notification-area callback sent as the system would send them.
//
// Threadsafety: the test's own thread only.

#include <windows.h>

#include <string>

namespace program_driver {

// Control identifiers of the panel, as a spy tool would show them.
enum PanelControl : int {
  kMemAvailable = 1001,
  kMemToTest = 1002,
  kMethodList = 1005,
  kPriorityList = 1006,
  kThreadsList = 1007,
  kHideWhenMinimized = 1011,
  kErrorsFound = 1013,
  kTimeElapsed = 1014,
  kCycles = 1015,
  kMemTotal = 1018,
  kStartStop = 12321,
  kExit = 57665,
};

class Panel {
 public:
  // Waits for the shown, answering panel of the process `processId`; Found() is false
  // when none appeared before the deadline.
  explicit Panel(DWORD processId);

  bool Found() const { return m_window != nullptr; }
  std::string Caption() const;
  // The text of a control; for a drop-down list, its selected entry.
  std::string Text(int control) const;
  bool Checked(int box) const;
  bool Enabled(int control) const { return IsWindowEnabled(Item(control)); }
  bool Visible() const { return IsWindowVisible(m_window); }
  bool Minimized() const { return IsIconic(m_window); }
  // The control that has the keyboard focus on the panel's thread.
  bool Focused(int control) const;

  void Type(int control, const std::string& text) const;
  // A click that returns once the program has handled it.
  void Click(int control) const;
  void PostSystemCommand(WPARAM command) const;
  void PostTrayDoubleClick() const;

 private:
  HWND Item(int control) const { return GetDlgItem(m_window, control); }
  HWND m_window = nullptr;
};

// Waits for a dialog box of the process with that caption; null when none appeared.
HWND WaitForDialog(DWORD processId, const char* caption);
// Presses `button` (IDOK, IDYES, IDNO) of a dialog box; false unless the box then closed.
bool PressAndWaitClosed(HWND box, int button);
// Waits for the process's message box captioned "Warning", reads its text into `text`
// and presses `button`; false when no such box appeared or it did not close.
bool AnswerWarning(DWORD processId, int button, std::string& text);

}  // namespace program_driver
