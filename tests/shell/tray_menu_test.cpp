// The tray's popup menu in each situation the panel can be in, from the real menu resource.

#include "shell/tray_menu.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"

namespace {

// Each item as the user sees it: its text, "-" for a separator, " (gray)" appended when grayed.
std::vector<std::string> Items(const TrayMenuState& state) {
  HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_TRAY_MENU));
  HMENU popup = GetSubMenu(menu, 0);
  PrepareTrayMenu(popup, state);
  std::vector<std::string> items;
  for (int i = 0; i < GetMenuItemCount(popup); ++i) {
    char text[64] = {};
    GetMenuStringA(popup, i, text, sizeof text, MF_BYPOSITION);
    const UINT flags = GetMenuState(popup, i, MF_BYPOSITION);
    if (flags & MF_SEPARATOR) {
      items.push_back("-");
    } else {
      items.push_back(std::string(text) + (flags & MF_GRAYED ? " (gray)" : ""));
    }
  }
  DestroyMenu(menu);
  return items;
}

using Menu = std::vector<std::string>;

TEST(TrayMenu, FollowsTheRunTheLogAndOpenDialogs) {
  EXPECT_EQ(Items({}), (Menu{"&Open", "-", "Start", "&About...", "E&xit"}));
  EXPECT_EQ(Items({.logWritten = true}),
            (Menu{"&Open", "-", "Start", "View log", "&About...", "E&xit"}));
  EXPECT_EQ(Items({.running = true, .logWritten = true}),
            (Menu{"&Open", "-", "Stop", "&About...", "E&xit (gray)"}));
  EXPECT_EQ(Items({.running = true, .modalOpen = true}),
            (Menu{"&Open", "-", "Stop (gray)", "&About... (gray)", "E&xit (gray)"}));
  EXPECT_EQ(Items({.modalOpen = true}),
            (Menu{"&Open", "-", "Start (gray)", "&About... (gray)", "E&xit"}));
  PrepareTrayMenu(nullptr, {});
}

}  // namespace
