// The panel's own template 101: its class, its list entries from the dialog-init data, and
// the exchange of its fields with their ranges and refusals.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "resources/resource_ids.h"
#include "shell/framework/data_exchange.h"
#include "shell/framework/dialog.h"
#include "shell/framework/dialog_init.h"
#include "shell/main_dlg.h"

namespace {

struct Panel : CDialog, CWinDataExchangeEx<Panel> {
  bool HandleMessage(UINT message, WPARAM, LPARAM, LRESULT& result) override {
    result = TRUE;
    return message == WM_INITDIALOG;
  }
  std::vector<std::string> Entries(int list) {
    std::vector<std::string> entries;
    for (LRESULT i = 0; i < SendDlgItemMessageA(m_hWnd, list, CB_GETCOUNT, 0, 0); ++i) {
      char text[32] = {};
      SendDlgItemMessageA(m_hWnd, list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
      entries.push_back(text);
    }
    return entries;
  }
  std::pair<int, int> Range(int edit) {
    int low = -1, high = -1;
    SendMessageA(SpinOf(edit), UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
                 reinterpret_cast<LPARAM>(&high));
    return {low, high};
  }
};

using Entries = std::vector<std::string>;

TEST(PanelTemplate, ListsComeFromTheInitDataAndFieldsKeepTheirRanges) {
  const HINSTANCE program = GetModuleHandleA(nullptr);
  RegisterPanelClass(program);
  Panel panel;
  ASSERT_NE(panel.Create(program, IDD_MAIN, nullptr), nullptr);
  char className[64] = {};
  GetClassNameA(panel.m_hWnd, className, sizeof className);
  EXPECT_STREQ(className, kPanelClassName);

  EXPECT_TRUE(ExecuteDlgInit(program, panel.m_hWnd, IDD_MAIN));
  EXPECT_EQ(panel.Entries(IDC_METHOD_LIST), (Entries{"random", "shuffling"}));
  EXPECT_EQ(panel.Entries(IDC_PRIORITY_LIST), (Entries{"normal", "above", "high"}));
  EXPECT_EQ(panel.Entries(IDC_THREADS_LIST), (Entries{"one", "two", "four"}));

  std::uint32_t toTest = 3000, errorsLimit = 0;
  ASSERT_TRUE(panel.DDX_UIntSpin(IDC_MEM_TO_TEST, toTest, 16, 3000, false));
  ASSERT_TRUE(panel.DDX_UIntSpin(IDC_ERRORS_LIMIT, errorsLimit, 0, 100, false));
  EXPECT_EQ(panel.Range(IDC_MEM_TO_TEST), std::pair(16, 3000));
  EXPECT_EQ(panel.Range(IDC_ERRORS_LIMIT), std::pair(0, 100));

  // A stored method without a list entry stops the exchange there, with the focus on it.
  std::uint32_t method = 2;
  EXPECT_FALSE(panel.DDX_ComboIndex(IDC_METHOD_LIST, method, false));
  EXPECT_EQ(GetFocus(), panel.Item(IDC_METHOD_LIST));
  SetDlgItemTextA(panel.m_hWnd, IDC_MEM_TO_TEST, "3001");
  EXPECT_FALSE(panel.DDX_UIntSpin(IDC_MEM_TO_TEST, toTest, 16, 3000, true));
  EXPECT_EQ(GetFocus(), panel.Item(IDC_MEM_TO_TEST));
  EXPECT_EQ(toTest, 3000u);
  DestroyWindow(panel.m_hWnd);
}

}  // namespace
