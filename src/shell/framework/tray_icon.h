#pragma once
// The dialog's icon in the notification area: its tip, its balloons and its popup menu.

#include <windows.h>
// windows.h first: shellapi.h needs its types.
#include <shellapi.h>

#include <cstring>

// Mixed into a dialog class T derived from CDialog, which provides
// `HINSTANCE ResourceInstance() const` (the module the popup menu is loaded from).
// Everything runs on the dialog's thread. Each modifying call sets the record's flags to
// exactly the parts it changes. The shell's answers are passed on: without a notification
// area the calls fail and the record still holds what was asked for.
template <class T>
class CTrayIconImpl {
 public:
  CTrayIconImpl()
      : trayMessage(RegisterWindowMessageA("WM_TRAYICON")),
        taskbarCreatedMessage(RegisterWindowMessageA("TaskbarCreated")) {
    std::memset(&m_iconRecord, 0, sizeof m_iconRecord);
    m_iconRecord.cbSize = NOTIFYICONDATAA_V2_SIZE;
  }
  virtual ~CTrayIconImpl() { RemoveIcon(); }
  CTrayIconImpl(const CTrayIconImpl&) = delete;
  CTrayIconImpl& operator=(const CTrayIconImpl&) = delete;

  // The notification area's mouse callbacks to the dialog.
  const UINT trayMessage;
  // Broadcast to top-level windows when the notification area has been (re-)created.
  const UINT taskbarCreatedMessage;

  // Adds the icon; `id` is also the number of its popup menu. A tip of kTipSize characters
  // or more adds nothing and returns false; a null tip is an empty one.
  bool InstallIcon(const char* tip, HICON icon, UINT id) {
    if (!Fits(tip, kTipSize)) return false;
    m_iconRecord.hWnd = static_cast<T*>(this)->m_hWnd;
    m_iconRecord.uID = id;
    m_iconRecord.hIcon = icon;
    m_iconRecord.uCallbackMessage = trayMessage;
    Copy(m_iconRecord.szTip, tip);
    return Add();
  }

  // A text of kTipSize characters or more changes nothing and returns false.
  bool SetTooltipText(const char* text) {
    if (!Fits(text, kTipSize)) return false;
    m_iconRecord.uFlags = NIF_TIP;
    Copy(m_iconRecord.szTip, text);
    return Shell_NotifyIconA(NIM_MODIFY, &m_iconRecord) != FALSE;
  }

  bool SetIcon(HICON icon) {
    m_iconRecord.uFlags = NIF_ICON;
    m_iconRecord.hIcon = icon;
    return Shell_NotifyIconA(NIM_MODIFY, &m_iconRecord) != FALSE;
  }

  // `infoFlags` is the balloon's icon kind (NIIF_INFO, NIIF_ERROR). A text longer than 255
  // characters or a title longer than 63 shows nothing and returns false. A null text is an
  // empty one (which takes a balloon away) and leaves the title as it was; a null title is
  // an empty one.
  bool ShowBalloon(const char* text, const char* title, DWORD infoFlags, UINT timeoutMs) {
    if (!Fits(text, kBalloonTextSize) || !Fits(title, kBalloonTitleSize)) return false;
    m_iconRecord.uFlags = NIF_INFO;
    m_iconRecord.uTimeout = timeoutMs;
    m_iconRecord.dwInfoFlags = infoFlags;
    Copy(m_iconRecord.szInfo, text);
    if (text != nullptr) Copy(m_iconRecord.szInfoTitle, title);
    return Shell_NotifyIconA(NIM_MODIFY, &m_iconRecord) != FALSE;
  }

  void RemoveIcon() {
    if (!m_iconInstalled) return;
    m_iconRecord.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &m_iconRecord);
    m_iconInstalled = false;
  }

  // For taskbarCreatedMessage: the new notification area holds none of the old icons, so
  // the icon is added again with the record's current icon and tip, whether or not the first
  // add succeeded; without it the program would be unreachable once hidden. An icon that
  // is still there (the message is also sent on other occasions) is replaced. False before
  // InstallIcon.
  bool ReinstallIcon() {
    if (m_iconRecord.hWnd == nullptr) return false;
    m_iconRecord.uFlags = 0;
    Shell_NotifyIconA(NIM_DELETE, &m_iconRecord);
    return Add();
  }

  bool iconInstalled() const { return m_iconInstalled; }

  // For trayMessage: wParam is the icon id, the low word of lParam the mouse message. A
  // right click shows the popup menu (after PrepareMenu); a double click sends the dialog
  // the command of the default item. Always 0.
  LRESULT OnTrayIcon(WPARAM wParam, LPARAM lParam) {
    if (wParam != m_iconRecord.uID) return 0;
    switch (LOWORD(lParam)) {
      case WM_RBUTTONUP:
        ShowMenu();
        break;
      case WM_LBUTTONDBLCLK:
        SendDefaultCommand();
        break;
      default:
        break;
    }
    return 0;
  }

  // Adjusts the popup each time before it is shown.
  virtual void PrepareMenu(HMENU /*popup*/) {}

 protected:
  NOTIFYICONDATAA m_iconRecord;
  bool m_iconInstalled = false;
  // Command of the popup's default item; 0 is its first item.
  UINT m_defaultItem = 0;

 private:
  // Buffer sizes of the record's version-2 layout, terminators included.
  static constexpr std::size_t kTipSize = 128;
  static constexpr std::size_t kBalloonTextSize = 256;
  static constexpr std::size_t kBalloonTitleSize = 64;
  static_assert(NOTIFYICONDATAA_V2_SIZE == 504);
  static_assert(sizeof m_iconRecord.szTip == kTipSize);
  static_assert(sizeof m_iconRecord.szInfo == kBalloonTextSize);
  static_assert(sizeof m_iconRecord.szInfoTitle == kBalloonTitleSize);

  // Texts are never cut: one that does not fit with its terminator is refused.
  static bool Fits(const char* text, std::size_t size) {
    return text == nullptr || std::strlen(text) < size;
  }
  template <std::size_t size>
  static void Copy(char (&field)[size], const char* text) {
    std::memset(field, 0, size);
    if (text != nullptr) std::memcpy(field, text, std::strlen(text));
  }

  bool Add() {
    m_iconRecord.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    m_iconInstalled = Shell_NotifyIconA(NIM_ADD, &m_iconRecord) != FALSE;
    return m_iconInstalled;
  }

  HWND Window() const { return static_cast<const T*>(this)->m_hWnd; }

  // The popup menu's number is the icon id.
  HMENU LoadPopupMenu() const {
    return LoadMenuA(static_cast<const T*>(this)->ResourceInstance(),
                     MAKEINTRESOURCEA(m_iconRecord.uID));
  }

  void ShowMenu() {
    const HMENU menu = LoadPopupMenu();
    if (menu == nullptr) return;
    const HMENU popup = GetSubMenu(menu, 0);
    if (popup != nullptr) {
      PrepareMenu(popup);
      POINT cursor{};
      GetCursorPos(&cursor);
      // Foreground first, so that the menu closes when the user clicks elsewhere.
      SetForegroundWindow(Window());
      if (m_defaultItem == 0) {
        SetMenuDefaultItem(popup, 0, TRUE);
      } else {
        SetMenuDefaultItem(popup, m_defaultItem, FALSE);
      }
      if (MonitorFromPoint(cursor, MONITOR_DEFAULTTONULL) == nullptr) {
        MONITORINFO monitor{};
        monitor.cbSize = sizeof monitor;
        if (GetMonitorInfoA(MonitorFromPoint(cursor, MONITOR_DEFAULTTONEAREST), &monitor)) {
          if (cursor.x < monitor.rcWork.left) cursor.x = monitor.rcWork.left;
          if (cursor.x > monitor.rcWork.right) cursor.x = monitor.rcWork.right;
        }
      }
      TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, Window(), nullptr);
      // Lets the menu's modal loop see a message and finish closing.
      PostMessageA(Window(), WM_NULL, 0, 0);
    }
    DestroyMenu(menu);
  }

  void SendDefaultCommand() {
    SetForegroundWindow(Window());
    const HMENU menu = LoadPopupMenu();
    if (menu == nullptr) return;
    UINT command = m_defaultItem;
    if (command == 0) {
      const HMENU popup = GetSubMenu(menu, 0);
      command = popup != nullptr ? GetMenuItemID(popup, 0) : static_cast<UINT>(-1);
    }
    DestroyMenu(menu);
    if (command != 0 && command != static_cast<UINT>(-1)) {
      SendMessageA(Window(), WM_COMMAND, MAKEWPARAM(command, 0), 0);
    }
  }
};
