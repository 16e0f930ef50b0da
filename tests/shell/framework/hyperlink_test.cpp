// The hyperlink on a static control: the label stays, the control gets the mouse, and the
// control is whole again once the link lets go. No click: that would start a browser.

#include <gtest/gtest.h>

#include "probe_dialog.h"
#include "shell/framework/hyperlink.h"

namespace {

using test_support::ProbeDialog;

TEST(HyperLink, KeepsTheLabelTakesTheMouseAndLetsGoCleanly) {
  ProbeDialog dialog;
  ASSERT_TRUE(dialog.Open());
  const HWND label = dialog.Item(IDC_LINK);
  const LONG_PTR ownProc = GetWindowLongPtrA(label, GWLP_WNDPROC);
  ASSERT_EQ(GetWindowLongPtrA(label, GWL_STYLE) & SS_NOTIFY, 0);
  {
    CHyperLink link;
    link.SetHyperLink("https://example.invalid/");
    ASSERT_TRUE(link.SubclassWindow(label));
    EXPECT_FALSE(link.SubclassWindow(label)) << "attached once";
    EXPECT_EQ(link.m_hWnd, label);
    EXPECT_NE(GetWindowLongPtrA(label, GWL_STYLE) & SS_NOTIFY, 0);
    EXPECT_EQ(SendMessageA(label, WM_NCHITTEST, 0, 0), HTCLIENT) << "no longer transparent";
    EXPECT_TRUE(SendMessageA(label, WM_SETCURSOR, reinterpret_cast<WPARAM>(label), HTCLIENT));
    RedrawWindow(label, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    char text[32] = {};
    GetWindowTextA(label, text, sizeof text);
    EXPECT_STREQ(text, "Example link");
  }
  EXPECT_EQ(GetWindowLongPtrA(label, GWLP_WNDPROC), ownProc);

  // A control destroyed under the link detaches it.
  CHyperLink link;
  ASSERT_TRUE(link.SubclassWindow(label));
  DestroyWindow(dialog.m_hWnd);
  EXPECT_EQ(link.m_hWnd, nullptr);
}

}  // namespace
