#pragma once
// The main panel: the program's only top-level window, a modeless dialog on which the
// user sets up a memory test, starts and stops it and watches its status. It owns the
// test run controller, which reads and writes the panel through IRunPanel, and keeps the
// notification-area icon for its whole life.
//
// Typical use, by the module:
//   CMainDlg panel(module, resourceModulePath);
//   panel.Create();  ... message loop ...  // the panel posts the quit message on Exit
//
// Threadsafety: user-interface thread only.

#include <windows.h>

#include <cstdint>
#include <string>

#include "run/run_controller.h"
#include "run/run_panel.h"
#include "shell/exe_module.h"
#include "shell/framework/app_module.h"
#include "shell/framework/data_exchange.h"
#include "shell/framework/dialog.h"
#include "shell/framework/idle_handler.h"
#include "shell/framework/message_filter.h"
#include "shell/framework/theme.h"
#include "shell/framework/tray_icon.h"

// The panel's window class, by which a second copy of the program finds the first.
inline constexpr const char* kPanelClassName = "QV:Window_class";

// Registers the panel's class for dialog templates of any module (a language module's
// template names it too).
void RegisterPanelClass(HINSTANCE instance);

class CMainDlg : public CDialog,
                 public CMessageFilter,
                 public CIdleHandler,
                 public CTrayIconImpl<CMainDlg>,
                 public CWinDataExchangeEx<CMainDlg>,
                 public CThemeImpl,
                 public IRunPanel {
 public:
  // The module supplies the resources and the loop to register with, and asks the exit
  // question; `resourceModulePath` names the file the resources come from, for help.
  CMainDlg(CAppModule& module, IExeModule& messages, std::string resourceModulePath);
  ~CMainDlg() override;

  // Creates the (hidden) panel from template 101 of the resource module.
  HWND Create();
  HINSTANCE ResourceInstance() const { return m_module.GetResourceInstance(); }

  bool PreTranslateMessage(MSG* msg) override;
  // The status tick.
  bool OnIdle() override;
  // Adjusts the tray's popup menu to the run and to open dialogs.
  void PrepareMenu(HMENU popup) override;

  // IRunPanel.
  bool ReadNumber(int control, std::uint32_t& value) override;
  std::int32_t ReadSelection(int list) override;
  std::string ReadListEntry(int list, std::int32_t index) override;
  bool ReadChecked(int box) override;
  void SetCaption(const std::string& text) override;
  void SetControlText(int control, const std::string& text) override;
  void SetControlNumber(int control, std::uint32_t value) override;
  void EnableControl(int control, bool enabled) override;
  void Focus(int control) override;
  void SetMemorySpinRange(std::uint32_t low, std::uint32_t high) override;
  void EnableCompactMemory(bool enabled) override;
  void SetTrayTip(const std::string& text) override;
  void SetTrayIcon(TrayIcon icon) override;
  void ShowBalloon(const std::string& text, const std::string& title, BalloonIcon icon,
                   std::uint32_t timeoutMs) override;
  bool IsVisible() override;
  bool IsMinimized() override;
  void PostCommand(std::uint32_t commandWord) override;
  void PostMinimize() override;
  void Beep() override;
  void Flash() override;
  void SetPriorityClass(std::uint32_t priorityClass) override;
  void Sleep(std::uint32_t milliseconds) override;
  std::uint64_t TickMilliseconds() override;
  std::int64_t CalendarSeconds() override;
  platform::LocalTime LocalTime() override;
  std::uint32_t AvailableMemoryMb() override;

 private:
  bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  bool OnInitDialog();
  bool OnSysCommand(WPARAM command);
  bool OnCommand(WORD id, WORD code);
  LRESULT OnNotify(const NMHDR& header);
  void OnHelp();
  void OnOpen();
  void OnAbout();
  void OnCompactMemory();
  void OnExit();
  void OnPriorityChanged();
  void OnTooltipText(NMTTDISPINFOA& info);
  LRESULT OnTooltipShow();
  void ViewLog();

  void LoadIcons();
  void AddSystemMenuItems();
  void CreatePriorityTip();
  void DoDataExchange();
  void StopListening();

  CAppModule& m_module;
  IExeModule& m_messages;
  const std::string m_resourceModulePath;
  CTestRunController m_controller;

  bool modalOpen = false;
  bool useThemes = true;
  bool allowCompact = false;
  bool confirmActions = true;
  bool allowThreadChoice = false;
  HWND startButton = nullptr;
  HWND exitButton = nullptr;
  HWND priorityList = nullptr;
  HWND priorityTip = nullptr;
  std::string warningText;
  std::string title;
  HICON normalIcon = nullptr;
  HICON busyIcon = nullptr;
  HICON largeIcon = nullptr;
};
