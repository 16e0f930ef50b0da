// The exchange operations on a live dialog: spin creation and ranges, refused input with the
// focus on the field, list selections and check boxes.

#include <gtest/gtest.h>

#include <string>

#include "probe_dialog.h"
#include "shell/framework/dialog_init.h"

namespace {

using test_support::ProbeDialog;

class DataExchange : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(dialog.Open()); }

  void Type(int id, const char* text) {
    SetDlgItemTextA(dialog.m_hWnd, id, text);
    SetFocus(dialog.Item(IDC_CHECK));  // away from the field, so that a failure must move it
  }
  std::string Text(int id) {
    char text[64] = {};
    GetDlgItemTextA(dialog.m_hWnd, id, text, sizeof text);
    return text;
  }

  ProbeDialog dialog;
};

TEST_F(DataExchange, SpinIsMadeOnceWithItsFullRangeAndSaveRefusesWhatIsOutside) {
  // Above 65,535: the 16-bit range and position of creation would cut these.
  std::uint32_t value = 70000;
  ASSERT_TRUE(dialog.DDX_UIntSpin(IDC_NUMBER, value, 16, 100000, false));
  const HWND spin = dialog.SpinOf(IDC_NUMBER);
  ASSERT_NE(spin, nullptr);
  EXPECT_EQ(reinterpret_cast<HWND>(SendMessageA(spin, UDM_GETBUDDY, 0, 0)),
            dialog.Item(IDC_NUMBER));
  int low = 0, high = 0;
  SendMessageA(spin, UDM_GETRANGE32, reinterpret_cast<WPARAM>(&low),
               reinterpret_cast<LPARAM>(&high));
  EXPECT_EQ(low, 16);
  EXPECT_EQ(high, 100000);
  EXPECT_EQ(SendMessageA(spin, UDM_GETPOS32, 0, 0), 70000);
  EXPECT_EQ(Text(IDC_NUMBER), "70000");

  value = 20;
  ASSERT_TRUE(dialog.DDX_UIntSpin(IDC_NUMBER, value, 16, 100000, false));
  EXPECT_EQ(dialog.SpinOf(IDC_NUMBER), spin) << "the second load reuses the spin";
  EXPECT_EQ(Text(IDC_NUMBER), "20");

  for (const char* refused : {"", "abc", "12abc", "-5", " 17", "15", "100001", "4294967296"}) {
    Type(IDC_NUMBER, refused);
    value = 7;
    EXPECT_FALSE(dialog.DDX_UIntSpin(IDC_NUMBER, value, 16, 100000, true)) << refused;
    EXPECT_EQ(value, 7u) << refused;
    EXPECT_EQ(GetFocus(), dialog.Item(IDC_NUMBER)) << refused;
  }
  for (const auto& [typed, read] : {std::pair{"16", 16u}, {"100000", 100000u}, {"0099", 99u}}) {
    Type(IDC_NUMBER, typed);
    EXPECT_TRUE(dialog.DDX_UIntSpin(IDC_NUMBER, value, 16, 100000, true)) << typed;
    EXPECT_EQ(value, read);
  }
  Type(IDC_NUMBER, "4294967295");
  EXPECT_TRUE(dialog.DDX_UInt(IDC_NUMBER, value, true));
  EXPECT_EQ(value, 4294967295u);
}

TEST_F(DataExchange, ListsSelectOnlyExistingEntriesAndCheckBoxesGoBothWays) {
  ASSERT_TRUE(ExecuteDlgInit(dialog.ResourceInstance(), dialog.m_hWnd, IDI_GOOD));
  std::uint32_t index = 7;
  SetFocus(dialog.Item(IDC_CHECK));
  EXPECT_FALSE(dialog.DDX_ComboIndex(IDC_LIST, index, true)) << "nothing selected yet";
  EXPECT_EQ(GetFocus(), dialog.Item(IDC_LIST));
  EXPECT_EQ(index, 7u);

  index = 1;
  ASSERT_TRUE(dialog.DDX_ComboIndex(IDC_LIST, index, false));
  index = 0;
  ASSERT_TRUE(dialog.DDX_ComboIndex(IDC_LIST, index, true));
  EXPECT_EQ(index, 1u);
  SetFocus(dialog.Item(IDC_CHECK));
  index = 2;
  EXPECT_FALSE(dialog.DDX_ComboIndex(IDC_LIST, index, false)) << "only two entries";
  EXPECT_EQ(GetFocus(), dialog.Item(IDC_LIST));

  bool flag = true;
  dialog.DDX_CheckBox(IDC_CHECK, flag, false);
  EXPECT_EQ(IsDlgButtonChecked(dialog.m_hWnd, IDC_CHECK), static_cast<UINT>(BST_CHECKED));
  flag = false;
  dialog.DDX_CheckBox(IDC_CHECK, flag, true);
  EXPECT_TRUE(flag);
  CheckDlgButton(dialog.m_hWnd, IDC_CHECK, BST_INDETERMINATE);
  dialog.DDX_CheckBox(IDC_CHECK, flag, true);
  EXPECT_FALSE(flag) << "only a full check counts";
  dialog.DDX_CheckBox(IDC_CHECK, flag, false);
  EXPECT_EQ(IsDlgButtonChecked(dialog.m_hWnd, IDC_CHECK), static_cast<UINT>(BST_UNCHECKED));
}

}  // namespace
