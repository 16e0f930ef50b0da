// The tray icon's record against its text limits, and its clicks. Without a notification
// area the shell may refuse every call: the record and the refusals of over-long texts are
// checked, and the shell's own answers only where they must agree with the icon's state.

#include <gtest/gtest.h>

#include <string>

#include "probe_dialog.h"

namespace {

using test_support::ProbeDialog;

class TrayIcon : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Open()); }
  ProbeDialog dialog;
  const HICON icon = LoadIconA(nullptr, IDI_APPLICATION);
};

TEST_F(TrayIcon, TextsUpToTheirLimitsAreTakenAndLongerOnesChangeNothing) {
  const NOTIFYICONDATAA& record = dialog.Record();
  EXPECT_EQ(record.cbSize, 504u);
  EXPECT_NE(dialog.trayMessage, 0u);
  EXPECT_NE(dialog.taskbarCreatedMessage, 0u);

  EXPECT_FALSE(dialog.InstallIcon(std::string(128, 't').c_str(), icon, IDR_TRAY_MENU));
  EXPECT_FALSE(dialog.iconInstalled());
  EXPECT_EQ(record.hWnd, nullptr) << "nothing was added";

  const std::string tip(127, 'a');
  const bool installed = dialog.InstallIcon(tip.c_str(), icon, IDR_TRAY_MENU);
  EXPECT_EQ(installed, dialog.iconInstalled());
  EXPECT_EQ(record.hWnd, dialog.m_hWnd);
  EXPECT_EQ(record.uID, static_cast<UINT>(IDR_TRAY_MENU));
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.uCallbackMessage, dialog.trayMessage);
  EXPECT_EQ(record.szTip, tip);

  EXPECT_FALSE(dialog.SetTooltipText(std::string(128, 'b').c_str()));
  EXPECT_EQ(record.szTip, tip);
  const std::string newTip(127, 'c');
  dialog.SetTooltipText(newTip.c_str());
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_TIP));
  EXPECT_EQ(record.szTip, newTip);

  const std::string text(255, 'x'), title(63, 'y');
  dialog.ShowBalloon(text.c_str(), title.c_str(), NIIF_ERROR, 5000);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_INFO));
  EXPECT_EQ(record.szInfo, text);
  EXPECT_EQ(record.szInfoTitle, title);
  EXPECT_EQ(record.dwInfoFlags, static_cast<DWORD>(NIIF_ERROR));
  EXPECT_EQ(record.uTimeout, 5000u);
  EXPECT_FALSE(dialog.ShowBalloon(std::string(256, 'x').c_str(), "t", NIIF_INFO, 1));
  EXPECT_FALSE(dialog.ShowBalloon("t", std::string(64, 'y').c_str(), NIIF_INFO, 1));
  EXPECT_EQ(record.szInfo, text);
  EXPECT_EQ(record.uTimeout, 5000u);
  dialog.ShowBalloon(nullptr, nullptr, NIIF_INFO, 1);
  EXPECT_STREQ(record.szInfo, "");
  EXPECT_EQ(record.szInfoTitle, title) << "a null text leaves the title";

  const HICON other = LoadIconA(nullptr, IDI_WARNING);
  dialog.SetIcon(other);
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_ICON));
  EXPECT_EQ(record.hIcon, other);

  // A re-created notification area gets the icon back as it is now.
  const bool reinstalled = dialog.ReinstallIcon();
  EXPECT_EQ(reinstalled, dialog.iconInstalled());
  EXPECT_EQ(record.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP));
  EXPECT_EQ(record.hIcon, other);
  EXPECT_EQ(record.szTip, newTip);
  dialog.RemoveIcon();
  EXPECT_FALSE(dialog.iconInstalled());
}

TEST_F(TrayIcon, ClicksOnItsIconOpenTheMenuOrSendTheDefaultCommand) {
  EXPECT_FALSE(ProbeDialog().ReinstallIcon()) << "nothing to reinstall before the first add";
  dialog.InstallIcon("tip", icon, IDR_TRAY_MENU);
  EXPECT_EQ(dialog.OnTrayIcon(IDR_TRAY_MENU + 1, WM_LBUTTONDBLCLK), 0);
  EXPECT_TRUE(dialog.commands.empty()) << "another icon's click";
  dialog.OnTrayIcon(IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
  dialog.SetDefaultItem(ID_START_STOP);
  dialog.OnTrayIcon(IDR_TRAY_MENU, WM_LBUTTONDBLCLK);
  dialog.OnTrayIcon(IDR_TRAY_MENU, WM_LBUTTONUP);
  EXPECT_EQ(dialog.commands, (std::vector<WORD>{ID_APP_OPEN, ID_START_STOP}));

  // The popup is prepared, then shown; a posted message closes it once its loop runs.
  UINT firstItem = 0;
  dialog.onPrepareMenu = [&](HMENU popup) {
    firstItem = GetMenuItemID(popup, 0);
    PostMessageA(dialog.m_hWnd, WM_CANCELMODE, 0, 0);
  };
  dialog.OnTrayIcon(IDR_TRAY_MENU, WM_RBUTTONUP);
  EXPECT_EQ(firstItem, static_cast<UINT>(ID_APP_OPEN));
}

}  // namespace
