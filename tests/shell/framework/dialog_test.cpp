// The dialog base: creation, the answers of its procedure, centring and the end of a window.

#include <gtest/gtest.h>

#include <algorithm>

#include "probe_dialog.h"

namespace {

using test_support::ProbeDialog;

TEST(Dialog, ForwardsMessagesToItsHandlerAndAnswersByKind) {
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.Open());
  EXPECT_EQ(dialog.messages.front(), static_cast<UINT>(WM_INITDIALOG))
      << "nothing before WM_INITDIALOG reaches the object";
  EXPECT_EQ(SendMessageA(dialog.m_hWnd, WM_APP, 0, 0), 1234) << "through DWLP_MSGRESULT";
  EXPECT_EQ(SendMessageA(dialog.m_hWnd, WM_CTLCOLORDLG, 0, 0),
            reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)))
      << "returned directly";
  SendMessageA(dialog.m_hWnd, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(dialog.commands, (std::vector<WORD>{IDOK}));

  dialog.CenterWindow(nullptr);
  RECT window, area;
  GetWindowRect(dialog.m_hWnd, &window);
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  EXPECT_LE(std::abs((window.left + window.right) - (area.left + area.right)), 2);
  EXPECT_LE(std::abs((window.top + window.bottom) - (area.top + area.bottom)), 2);

  const HWND handle = dialog.m_hWnd;
  DWORD t0 = GetTickCount();
  ShowWindow(handle, SW_HIDE);
  DWORD t1 = GetTickCount();
  DestroyWindow(handle);
  printf("hide %lu destroy %lu\n", t1 - t0, GetTickCount() - t1);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.messages.back(), static_cast<UINT>(WM_NCDESTROY)) << "the handler saw it";
}

TEST(Dialog, ModalReturnsTheEndResultOrMinusOneWithoutATemplate) {
  ProbeDialog dialog;
  dialog.endAtStart = 42;
  EXPECT_EQ(dialog.DoModal(GetModuleHandleA(nullptr), IDD_PROBE, nullptr), 42);
  EXPECT_EQ(dialog.m_hWnd, nullptr);
  EXPECT_EQ(dialog.DoModal(GetModuleHandleA(nullptr), 999, nullptr), -1);
}

}  // namespace
