#include "shell/main_dlg.h"

#include <commctrl.h>

#include "diag/physical_memory.h"
#include "diag/text.h"
#include "platform/clock.h"
#include "resources/resource_ids.h"
#include "run/run_log.h"
#include "settings/settings.h"
#include "shell/about_dlg.h"
#include "shell/compact_mem_dlg.h"
#include "shell/framework/dialog_init.h"
#include "shell/framework/message_loop.h"
#include "shell/language_module.h"
#include "shell/tray_menu.h"

namespace {

constexpr std::uint32_t kAboutItem = 3000;        // "&About..."
constexpr std::uint32_t kTitle = 3003;            // "Sieveline"
constexpr std::uint32_t kCompactItem = 3012;      // "Compact memory..."
constexpr std::uint32_t kWarningCaption = 5001;   // "Warning"
constexpr std::uint32_t kPriorityWarning = 5025;  // "Use extreme care ..."
constexpr std::uint32_t kConfirmExit = 5027;      // "Are you sure ... quit the application?"

constexpr UINT kTrayIconId = IDR_TRAY_MENU;
constexpr int kHighPriorityIndex = 2;
constexpr int kWarningMaxWidth = 400;

// Guards the balloon's placement against the notification its own move sends.
int g_placingWarning = 0;

std::string Text(std::uint32_t number) {
  return ResolveText(TextId(number));
}

}  // namespace

void RegisterPanelClass(HINSTANCE instance) {
  WNDCLASSEXA panelClass{};
  panelClass.cbSize = sizeof panelClass;
  panelClass.style = CS_GLOBALCLASS | CS_DBLCLKS;
  panelClass.lpfnWndProc = DefDlgProcA;
  panelClass.cbWndExtra = DLGWINDOWEXTRA;
  panelClass.hInstance = instance;
  panelClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
  panelClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  panelClass.lpszClassName = kPanelClassName;
  RegisterClassExA(&panelClass);
}

CMainDlg::CMainDlg(CAppModule& module, IExeModule& messages, std::string resourceModulePath)
    : m_module(module),
      m_messages(messages),
      m_resourceModulePath(std::move(resourceModulePath)),
      m_controller(*this, Text(kTitle), ProgramFolder()) {}

CMainDlg::~CMainDlg() {
  RemoveIcon();
  for (HICON icon : {normalIcon, busyIcon, largeIcon}) {
    if (icon) DestroyIcon(icon);
  }
}

HWND CMainDlg::Create() {
  return CDialog::Create(ResourceInstance(), IDD_MAIN, nullptr);
}

bool CMainDlg::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (message) {
    case WM_INITDIALOG:
      result = OnInitDialog();
      return true;
    case WM_SYSCOMMAND:
      return OnSysCommand(wParam);
    case WM_SHOWWINDOW:
      m_controller.OnShowWindow(wParam != 0);
      return false;
    case WM_ENTERIDLE:
      // Keeps the status running while a modal box of the panel's is open; menus do not.
      if (wParam == MSGF_DIALOGBOX) OnIdle();
      return true;
    case WM_HELP:
      OnHelp();
      result = TRUE;
      return true;
    case WM_COMMAND:
      return OnCommand(LOWORD(wParam), HIWORD(wParam));
    case WM_NOTIFY:
      result = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
      return true;
    case WM_DESTROY:
      StopListening();
      return false;
  }
  if (message == trayMessage) {
    result = OnTrayIcon(wParam, lParam);
    return true;
  }
  if (message == taskbarCreatedMessage) {
    ReinstallIcon();
    return true;
  }
  return false;
}

bool CMainDlg::OnInitDialog() {
  Settings settings;
  LoadSettings(settings);
  TestParams& params = m_controller.params;
  params.memAvailableMb = settings.memAvailableMb;
  params.memTotalMb = settings.memTotalMb;
  params.memToTestMb = settings.memToTestMb;
  params.errorsLimit = settings.errorsLimit;
  params.hoursLimit = settings.hoursLimit;
  params.methodIndex = settings.methodIndex;
  params.threadsIndex = settings.threadsIndex;
  params.priorityIndex = settings.priorityIndex;
  params.logTesting = settings.logTesting;
  params.alarmOnError = settings.alarmOnError;
  params.highMemory = settings.highMemory;
  params.minimizeOnStart = settings.minimizeOnStart;
  params.hideWhenMinimized = settings.hideWhenMinimized;
  m_controller.flashOnError = settings.flashOnError;
  m_controller.cycleDelayMs = settings.cycleDelayMs;
  modalOpen = false;
  useThemes = settings.useThemes;
  allowCompact = settings.allowCompact;
  confirmActions = settings.confirmActions;
  allowThreadChoice = settings.allowThreadChoice;

  if (useThemes) EnableThemeDialogTexture(m_hWnd);
  CenterWindow(nullptr);
  LoadIcons();
  title = Text(kTitle);
  SetWindowTextA(m_hWnd, title.c_str());
  InstallIcon(title.c_str(), normalIcon, kTrayIconId);
  SetTooltipText(title.c_str());
  AddSystemMenuItems();
  startButton = Item(ID_START_STOP);
  exitButton = Item(ID_APP_EXIT);
  priorityList = Item(IDC_PRIORITY_LIST);
  CreatePriorityTip();
  if (!allowThreadChoice) EnableWindow(Item(IDC_THREADS_LIST), FALSE);
  ExecuteDlgInit(ResourceInstance(), m_hWnd, IDD_MAIN);
  DoDataExchange();
  if (CMessageLoop* loop = m_module.GetMessageLoop()) {
    loop->AddMessageFilter(this);
    loop->AddIdleHandler(this);
  }
  return true;
}

void CMainDlg::StopListening() {
  if (CMessageLoop* loop = m_module.GetMessageLoop()) {
    loop->RemoveMessageFilter(this);
    loop->RemoveIdleHandler(this);
  }
}

void CMainDlg::LoadIcons() {
  const HINSTANCE resources = ResourceInstance();
  const int smallWidth = GetSystemMetrics(SM_CXSMICON);
  const int smallHeight = GetSystemMetrics(SM_CYSMICON);
  auto load = [resources](int id, int width, int height, UINT flags) {
    return static_cast<HICON>(
        LoadImageA(resources, MAKEINTRESOURCEA(id), IMAGE_ICON, width, height, flags));
  };
  largeIcon = load(IDI_NORMAL, 0, 0, LR_DEFAULTSIZE);
  normalIcon = load(IDI_NORMAL, smallWidth, smallHeight, 0);
  busyIcon = load(IDI_BUSY, smallWidth, smallHeight, 0);
  SendMessageA(m_hWnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(largeIcon));
  SendMessageA(m_hWnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(normalIcon));
}

void CMainDlg::AddSystemMenuItems() {
  HMENU menu = GetSystemMenu(m_hWnd, FALSE);
  if (!menu) return;
  AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
  if (allowCompact) AppendMenuA(menu, MF_STRING, ID_COMPACT_MEMORY, Text(kCompactItem).c_str());
  AppendMenuA(menu, MF_STRING, ID_SYS_ABOUT, Text(kAboutItem).c_str());
}

void CMainDlg::CreatePriorityTip() {
  priorityTip = CreateWindowExA(0, TOOLTIPS_CLASSA, nullptr,
                                WS_POPUP | TTS_NOPREFIX | TTS_BALLOON | TTS_CLOSE, CW_USEDEFAULT,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hWnd, nullptr,
                                m_module.GetModuleInstance(), nullptr);
}

// The load direction only: Start reads the controls through the run controller.
void CMainDlg::DoDataExchange() {
  TestParams& p = m_controller.params;
  const bool shown = DDX_UInt(IDC_MEM_AVAILABLE, p.memAvailableMb, false) &&
                     DDX_UInt(IDC_MEM_TOTAL, p.memTotalMb, false) &&
                     DDX_UIntSpin(IDC_MEM_TO_TEST, p.memToTestMb, 16, p.memAvailableMb, false) &&
                     DDX_UIntSpin(IDC_ERRORS_LIMIT, p.errorsLimit, 0, 100, false) &&
                     DDX_UIntSpin(IDC_HOURS_LIMIT, p.hoursLimit, 0, 100, false) &&
                     DDX_ComboIndex(IDC_METHOD_LIST, p.methodIndex, false) &&
                     DDX_ComboIndex(IDC_THREADS_LIST, p.threadsIndex, false) &&
                     DDX_ComboIndex(IDC_PRIORITY_LIST, p.priorityIndex, false);
  if (!shown) return;
  DDX_CheckBox(IDC_LOG_TESTING, p.logTesting, false);
  DDX_CheckBox(IDC_ALARM_ON_ERROR, p.alarmOnError, false);
  DDX_CheckBox(IDC_HIGH_MEMORY, p.highMemory, false);
  DDX_CheckBox(IDC_MINIMIZE_ON_START, p.minimizeOnStart, false);
  DDX_CheckBox(IDC_HIDE_WHEN_MINIMIZED, p.hideWhenMinimized, false);
}

bool CMainDlg::OnSysCommand(WPARAM command) {
  switch (command & 0xFFF0) {
    case ID_SYS_ABOUT:
      OnAbout();
      return true;
    case ID_COMPACT_MEMORY:
      OnCompactMemory();
      return true;
    case SC_MINIMIZE:
      // Hidden without a tray icon, the panel could never be brought back.
      if (!m_controller.params.hideWhenMinimized || !iconInstalled()) return false;
      ShowWindow(m_hWnd, SW_HIDE);
      return true;
    case SC_CLOSE:
      OnExit();
      return true;
    default:
      return false;
  }
}

bool CMainDlg::OnCommand(WORD id, WORD code) {
  switch (id) {
    case ID_APP_OPEN:
      OnOpen();
      return true;
    case ID_APP_ABOUT:
      OnAbout();
      return true;
    case ID_START_STOP:
      m_controller.OnStartStop();
      return true;
    case ID_APP_EXIT:
      OnExit();
      return true;
    case ID_VIEW_LOG:
      ViewLog();
      return true;
    case ID_TEST_BEGIN:
      m_controller.BeginTest();
      return true;
    case ID_TEST_END:
      m_controller.EndTest(code);
      return true;
    case IDC_PRIORITY_LIST:
      if (code != CBN_SELCHANGE) return false;
      OnPriorityChanged();
      return true;
    case IDC_HIDE_WHEN_MINIMIZED:
      if (code != BN_CLICKED) return false;
      m_controller.params.hideWhenMinimized = ReadChecked(IDC_HIDE_WHEN_MINIMIZED);
      return true;
    default:
      return false;
  }
}

LRESULT CMainDlg::OnNotify(const NMHDR& header) {
  switch (header.code) {
    case TTN_GETDISPINFOA:
      OnTooltipText(*reinterpret_cast<NMTTDISPINFOA*>(const_cast<NMHDR*>(&header)));
      return 0;
    case TTN_SHOW:
      return OnTooltipShow();
    default:
      return 0;
  }
}

void CMainDlg::OnOpen() {
  if (!IsWindowVisible(m_hWnd)) ShowWindow(m_hWnd, SW_SHOW);
  if (IsIconic(m_hWnd)) {
    ShowWindow(m_hWnd, SW_RESTORE);
  } else {
    BringWindowToTop(m_hWnd);
  }
  SetForegroundWindow(m_hWnd);
}

void CMainDlg::OnAbout() {
  modalOpen = true;
  CAboutDlg about(ResourceInstance());
  about.DoModal(ResourceInstance(), IDD_ABOUT, GetActiveWindow());
  modalOpen = false;
}

void CMainDlg::OnCompactMemory() {
  if (m_controller.running()) return;
  modalOpen = true;
  {
    // Its destruction stops and joins the worker and gives the memory back.
    CCompactMemDlg compact;
    compact.DoModal(ResourceInstance(), IDD_COMPACT_MEMORY, GetActiveWindow());
  }
  modalOpen = false;
}

void CMainDlg::OnExit() {
  if (m_controller.running() && confirmActions &&
      m_messages.ShowMessage(TextId(kConfirmExit), MB_YESNO) == IDNO) {
    return;
  }
  m_controller.EndRunForExit();

  Settings settings;
  const TestParams& params = m_controller.params;
  settings.methodIndex = params.methodIndex;
  settings.alarmOnError = params.alarmOnError;
  settings.highMemory = params.highMemory;
  settings.logTesting = params.logTesting;
  SaveSettings(settings);

  DestroyWindow(m_hWnd);
  PostQuitMessage(ID_APP_EXIT);
}

void CMainDlg::OnHelp() {
  std::string path = m_resourceModulePath;
  if (path.empty()) return;
  const std::size_t dot = path.find_last_of('.');
  const std::size_t separator = path.find_last_of("\\/");
  if (dot != std::string::npos && (separator == std::string::npos || dot > separator)) {
    path.erase(dot);
  }
  path += ".hlp";
  WinHelpA(m_hWnd, path.c_str(), HELP_CONTENTS, 0);
}

void CMainDlg::ViewLog() {
  WinExec(ViewLogCommandLine(m_controller.logPath()).c_str(), SW_SHOWNORMAL);
}

void CMainDlg::OnPriorityChanged() {
  TOOLINFOA tool{};
  tool.cbSize = sizeof tool;
  tool.uFlags = TTF_IDISHWND | TTF_TRACK | TTF_ABSOLUTE | TTF_TRANSPARENT;
  tool.hwnd = m_hWnd;
  tool.uId = reinterpret_cast<UINT_PTR>(priorityList);
  tool.lpszText = LPSTR_TEXTCALLBACKA;
  const LRESULT selection = SendMessageA(priorityList, CB_GETCURSEL, 0, 0);
  if (confirmActions && selection >= kHighPriorityIndex &&
      SendMessageA(priorityTip, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool))) {
    SendMessageA(priorityTip, TTM_TRACKACTIVATE, TRUE, reinterpret_cast<LPARAM>(&tool));
  } else {
    SendMessageA(priorityTip, TTM_TRACKACTIVATE, FALSE, reinterpret_cast<LPARAM>(&tool));
    SendMessageA(priorityTip, TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
  }
}

void CMainDlg::OnTooltipText(NMTTDISPINFOA& info) {
  warningText = Text(kPriorityWarning);
  info.lpszText = warningText.data();
  info.uFlags |= TTF_DI_SETITEM;
  const std::string caption = Text(kWarningCaption);
  SendMessageA(priorityTip, TTM_SETTITLEA, TTI_WARNING, reinterpret_cast<LPARAM>(caption.c_str()));
  SendMessageA(priorityTip, TTM_SETMAXTIPWIDTH, 0, kWarningMaxWidth);
}

LRESULT CMainDlg::OnTooltipShow() {
  RECT list;
  if (g_placingWarning != 0 || !GetWindowRect(priorityList, &list)) return 0;
  ++g_placingWarning;
  SetWindowPos(priorityTip, nullptr, (list.left + list.right) / 2, (list.top + list.bottom) / 2, 0,
               0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  --g_placingWarning;
  return TRUE;
}

bool CMainDlg::PreTranslateMessage(MSG* msg) {
  return IsDialogMessageA(m_hWnd, msg);
}

bool CMainDlg::OnIdle() {
  return m_controller.OnIdle();
}

void CMainDlg::PrepareMenu(HMENU popup) {
  PrepareTrayMenu(popup, {m_controller.running(), !m_controller.logPath().empty(), modalOpen});
}

// What the run controller does to the panel.

bool CMainDlg::ReadNumber(int control, std::uint32_t& value) {
  value = 0;
  return CWinDataExchangeEx::ReadNumber(Item(control), value);
}

std::int32_t CMainDlg::ReadSelection(int list) {
  return static_cast<std::int32_t>(SendDlgItemMessageA(m_hWnd, list, CB_GETCURSEL, 0, 0));
}

std::string CMainDlg::ReadListEntry(int list, std::int32_t index) {
  const LRESULT length = SendDlgItemMessageA(m_hWnd, list, CB_GETLBTEXTLEN, index, 0);
  if (length < 0) return {};
  std::string entry(static_cast<std::size_t>(length) + 1, '\0');
  const LRESULT copied = SendDlgItemMessageA(m_hWnd, list, CB_GETLBTEXT, index,
                                             reinterpret_cast<LPARAM>(entry.data()));
  entry.resize(copied < 0 ? 0 : static_cast<std::size_t>(copied));
  return entry;
}

bool CMainDlg::ReadChecked(int box) {
  return IsDlgButtonChecked(m_hWnd, box) == BST_CHECKED;
}

void CMainDlg::SetCaption(const std::string& text) {
  SetWindowTextA(m_hWnd, text.c_str());
}

void CMainDlg::SetControlText(int control, const std::string& text) {
  SetDlgItemTextA(m_hWnd, control, text.c_str());
}

void CMainDlg::SetControlNumber(int control, std::uint32_t value) {
  SetDlgItemInt(m_hWnd, control, value, FALSE);
}

void CMainDlg::EnableControl(int control, bool enabled) {
  EnableWindow(Item(control), enabled);
}

void CMainDlg::Focus(int control) {
  SendMessageA(m_hWnd, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(Item(control)), TRUE);
}

void CMainDlg::SetMemorySpinRange(std::uint32_t low, std::uint32_t high) {
  if (HWND spin = SpinOf(IDC_MEM_TO_TEST)) SendMessageA(spin, UDM_SETRANGE32, low, high);
}

void CMainDlg::EnableCompactMemory(bool enabled) {
  if (HMENU menu = GetSystemMenu(m_hWnd, FALSE)) {
    EnableMenuItem(menu, ID_COMPACT_MEMORY, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
  }
}

void CMainDlg::SetTrayTip(const std::string& text) {
  SetTooltipText(text.c_str());
}

void CMainDlg::SetTrayIcon(TrayIcon icon) {
  SetIcon(icon == TrayIcon::Busy ? busyIcon : normalIcon);
}

void CMainDlg::ShowBalloon(const std::string& text, const std::string& balloonTitle,
                           BalloonIcon icon, std::uint32_t timeoutMs) {
  CTrayIconImpl::ShowBalloon(text.c_str(), balloonTitle.c_str(), static_cast<DWORD>(icon),
                             timeoutMs);
}

bool CMainDlg::IsVisible() {
  return IsWindowVisible(m_hWnd);
}

bool CMainDlg::IsMinimized() {
  return IsIconic(m_hWnd);
}

void CMainDlg::PostCommand(std::uint32_t commandWord) {
  PostMessageA(m_hWnd, WM_COMMAND, commandWord, 0);
}

void CMainDlg::PostMinimize() {
  PostMessageA(m_hWnd, WM_SYSCOMMAND, SC_MINIMIZE, 0);
}

void CMainDlg::Beep() {
  MessageBeep(0xFFFFFFFF);
}

void CMainDlg::Flash() {
  FLASHWINFO flash{sizeof flash, m_hWnd, FLASHW_ALL, 2, 0};
  FlashWindowEx(&flash);
}

void CMainDlg::SetPriorityClass(std::uint32_t priorityClass) {
  ::SetPriorityClass(GetCurrentProcess(), priorityClass);
}

void CMainDlg::Sleep(std::uint32_t milliseconds) {
  ::Sleep(milliseconds);
}

std::uint64_t CMainDlg::TickMilliseconds() {
  return GetTickCount64();
}

std::int64_t CMainDlg::CalendarSeconds() {
  return static_cast<std::int64_t>(platform::CalendarSeconds());
}

platform::LocalTime CMainDlg::LocalTime() {
  return platform::ReadLocalTime();
}

std::uint32_t CMainDlg::AvailableMemoryMb() {
  return GetPhysicalMemoryMb();
}
