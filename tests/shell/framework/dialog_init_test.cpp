// The list entries from dialog-init data, well formed and broken: a broken record stops
// the walk where it starts and is reported, the entries before it stay.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "probe_dialog.h"
#include "shell/framework/dialog_init.h"

namespace {

using test_support::ProbeDialog;

std::vector<std::string> Entries(HWND list, UINT countMessage, UINT textMessage) {
  std::vector<std::string> entries;
  const auto count = SendMessageA(list, countMessage, 0, 0);
  for (LRESULT i = 0; i < count; ++i) {
    char text[64] = {};
    if (textMessage == CB_GETLBTEXT) {
      SendMessageA(list, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(text));
    } else {
      COMBOBOXEXITEMA item{};
      item.mask = CBEIF_TEXT;
      item.iItem = i;
      item.pszText = text;
      item.cchTextMax = sizeof text;
      SendMessageA(list, CBEM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    entries.emplace_back(text);
  }
  return entries;
}

using Texts = std::vector<std::string>;

TEST(DialogInit, FillsListsInOrderAndStopsAtTheFirstBrokenRecord) {
  struct Case {
    int resource;
    bool complete;
    Texts list;
  };
  const Case cases[] = {
      {IDI_GOOD, true, {"random", "shuffling"}},
      {IDI_TRUNCATED, false, {"random"}},
      {IDI_UNKNOWN_MESSAGE, true, {"a", "b"}},
      {IDI_UNTERMINATED, false, {"ok"}},
      {399, false, {}},
  };
  for (const Case& c : cases) {
    ProbeDialog dialog;
    ASSERT_TRUE(dialog.Open());
    EXPECT_EQ(ExecuteDlgInit(dialog.ResourceInstance(), dialog.m_hWnd, c.resource), c.complete)
        << c.resource;
    EXPECT_EQ(Entries(dialog.Item(IDC_LIST), CB_GETCOUNT, CB_GETLBTEXT), c.list) << c.resource;
    if (c.resource == IDI_GOOD) {
      EXPECT_EQ(Entries(dialog.Item(IDC_EXTENDED_LIST), CB_GETCOUNT, CBEM_GETITEMA),
                (Texts{"one", "two"}));
    }
  }
}

}  // namespace
