// The dialog base: creation, the answers of its procedure, centring and the end of a window.

#include <gtest/gtest.h>

#include <algorithm>

#include "probe_dialog.h"
#include "shell/framework/app_message_loop.h"

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

  DestroyWindow(dialog.m_hWnd);
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

// A fault translated in a handler must reach the module's catcher, but not by unwinding
// through the system's dispatch: the dialog keeps it and the loop throws it again.
TEST(Dialog, AnExceptionOfAHandlerLeavesThroughTheLoop) {
  struct Throwing : ProbeDialog {
    bool HandleMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override {
      if (message == WM_APP + 1) throw &thrown;
      return ProbeDialog::HandleMessage(message, wParam, lParam, result);
    }
    int thrown = 0;
  } dialog;
  ASSERT_TRUE(dialog.Open());
  PostMessageA(dialog.m_hWnd, WM_APP + 1, 0, 0);
  PostMessageA(dialog.m_hWnd, WM_APP, 0, 0);
  CAppMessageLoop loop;
  int* caught = nullptr;
  try {
    loop.Run();
  } catch (int* pointer) {
    caught = pointer;
  }
  EXPECT_EQ(caught, &dialog.thrown);
  EXPECT_EQ(std::count(dialog.messages.begin(), dialog.messages.end(), WM_APP), 0)
      << "thrown before the next message";
  DestroyWindow(dialog.m_hWnd);
}

}  // namespace
