// The English language module as the program will use it: mapped as data from the
// program's folder (the test runs there), every resource read through the system's own
// loaders or decoded from its bytes, so what the resource compiler wrote is checked
// rather than what the script says.

#include <windows.h>
// After windows.h, which it needs.
#include <commctrl.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <utility>
#include <vector>

#include "resources/resource_ids.h"

namespace {

class LanguageModule : public ::testing::Test {
 protected:
  void SetUp() override {
    char folder[MAX_PATH] = {};
    ASSERT_NE(GetCurrentDirectoryA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "\\kt1033.dll";
    m_module = LoadLibraryExA(path.c_str(), nullptr,
                              LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(m_module, nullptr) << path << ": error " << GetLastError();
  }
  void TearDown() override {
    if (m_module != nullptr) FreeLibrary(m_module);
  }

  std::vector<std::uint8_t> Bytes(int id, LPCSTR type) const {
    HRSRC found = FindResourceA(m_module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return {};
    const auto* data =
        static_cast<const std::uint8_t*>(LockResource(LoadResource(m_module, found)));
    return {data, data + SizeofResource(m_module, found)};
  }

  HMODULE m_module = nullptr;
};

// Reads the little-endian fields of a resource, failing the test on any read past its end.
class Reader {
 public:
  explicit Reader(const std::vector<std::uint8_t>& bytes) : m_bytes(bytes) {}

  std::uint32_t Read(std::size_t width) {
    std::uint32_t value = 0;
    EXPECT_LE(m_offset + width, m_bytes.size()) << "read past the end";
    if (m_offset + width > m_bytes.size()) return 0;
    std::memcpy(&value, m_bytes.data() + m_offset, width);
    m_offset += width;
    return value;
  }
  void Skip(std::size_t bytes) { m_offset += bytes; }
  // A template's name field: an ordinal as "#n", otherwise a NUL-terminated UTF-16 text.
  std::string NameOrOrdinal() {
    std::uint32_t unit = Read(2);
    if (unit == 0xFFFF) return "#" + std::to_string(Read(2));
    std::string text;
    for (; unit != 0; unit = Read(2)) text += static_cast<char>(unit);
    return text;
  }
  void AlignTo4() { m_offset = (m_offset + 3) / 4 * 4; }
  std::size_t Offset() const { return m_offset; }

 private:
  const std::vector<std::uint8_t>& m_bytes;
  std::size_t m_offset = 0;
};

struct Control {
  std::int32_t id;
  std::uint32_t style, exStyle;
  std::string windowClass, text;
};

struct Template {
  std::uint32_t style = 0, width = 0, height = 0, pointSize = 0;
  std::string windowClass, caption, font;
  std::vector<Control> controls;
};

// An extended dialog template (DLGTEMPLATEEX and its DLGITEMTEMPLATEEX items).
Template Decode(const std::vector<std::uint8_t>& bytes) {
  Template result;
  Reader in(bytes);
  EXPECT_EQ(in.Read(4), 0xFFFF0001u) << "version 1 of the extended template";
  in.Skip(8);  // help id, extended style
  result.style = in.Read(4);
  const std::uint32_t count = in.Read(2);
  in.Skip(4);  // x, y
  result.width = in.Read(2);
  result.height = in.Read(2);
  EXPECT_EQ(in.NameOrOrdinal(), "") << "no menu";
  result.windowClass = in.NameOrOrdinal();
  result.caption = in.NameOrOrdinal();
  result.pointSize = in.Read(2);
  in.Skip(4);  // weight, italic, character set
  result.font = in.NameOrOrdinal();
  for (std::uint32_t i = 0; i < count && in.Offset() < bytes.size(); ++i) {
    in.AlignTo4();
    in.Skip(4);  // help id
    Control control{};
    control.exStyle = in.Read(4);
    control.style = in.Read(4);
    in.Skip(8);  // rectangle
    control.id = static_cast<std::int32_t>(in.Read(4));
    control.windowClass = in.NameOrOrdinal();
    control.text = in.NameOrOrdinal();
    in.Skip(in.Read(2));  // creation data
    result.controls.push_back(control);
  }
  return result;
}

TEST_F(LanguageModule, PanelTemplateAndListEntriesAreThePanels) {
  // The list entries: exactly nine add-string records, in order, then the end marker.
  const std::vector<std::uint8_t> init = Bytes(IDD_MAIN, MAKEINTRESOURCEA(RT_DLGINIT_TYPE));
  Reader in(init);
  std::vector<std::pair<std::uint32_t, std::string>> entries;
  while (in.Offset() < init.size()) {
    const std::uint32_t id = in.Read(2);
    if (id == 0) break;
    EXPECT_EQ(in.Read(2), 0x0403u) << "a list entry";
    const std::uint32_t length = in.Read(4);
    ASSERT_LE(in.Offset() + length, init.size());
    const char* text = reinterpret_cast<const char*>(init.data() + in.Offset());
    EXPECT_EQ(std::strlen(text), length - 1) << "NUL-terminated";
    entries.emplace_back(id, text);
    in.Skip(length);
  }
  EXPECT_EQ(in.Offset(), init.size()) << "the end marker closes the resource";
  const std::vector<std::pair<std::uint32_t, std::string>> expected = {
      {1005, "random"}, {1005, "shuffling"}, {1006, "normal"}, {1006, "above"},
      {1006, "high"},   {1007, "one"},       {1007, "two"},    {1007, "four"}};
  ASSERT_EQ(entries.size(), expected.size());
  for (std::size_t i = 0; i < expected.size(); ++i) {
    EXPECT_EQ(entries[i], expected[i]) << i;
  }

  // The panel: a hidden, fixed-size window of the class a second instance looks for,
  // and its controls in tab order with their complete styles.
  const Template panel = Decode(Bytes(IDD_MAIN, MAKEINTRESOURCEA(5)));  // RT_DIALOG
  EXPECT_EQ(panel.style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_VISIBLE | WS_THICKFRAME),
            static_cast<DWORD>(WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX));
  // The resource compiler writes class names in capitals; Windows compares them without case.
  EXPECT_EQ(lstrcmpiA(panel.windowClass.c_str(), "QV:Window_class"), 0) << panel.windowClass;
  EXPECT_EQ(panel.caption, "kt");
  EXPECT_EQ(panel.font, "MS Shell Dlg");
  EXPECT_EQ(panel.pointSize, 8u);
  EXPECT_EQ(panel.width, 280u);
  EXPECT_EQ(panel.height, 284u);
  constexpr std::uint32_t L = 0x50020000, E = 0x50000010, N = 0x50812080, D = 0x50210003,
                          C = 0x50010003;
  // clang-format off
  const std::vector<std::pair<std::int32_t, std::uint32_t>> tabOrder = {
      {-1, L}, {-1, E}, {-1, L}, {1002, N}, {-1, L}, {1001, L}, {-1, L}, {1018, L},
      {-1, L}, {-1, E}, {-1, L}, {1003, N}, {-1, L}, {1005, D},
      {-1, L}, {1004, N}, {-1, L}, {1006, D}, {-1, L}, {1007, D},
      {1008, C}, {1009, C}, {1010, C}, {1012, C}, {1011, C},
      {-1, L}, {-1, E}, {-1, L}, {1013, L}, {-1, L}, {1014, L},
      {-1, L}, {1015, L}, {-1, L}, {1016, L},
      {-1, E}, {12321, 0x50010001}, {57665, 0x50010000}};
  // clang-format on
  ASSERT_EQ(panel.controls.size(), tabOrder.size());
  for (std::size_t i = 0; i < tabOrder.size(); ++i) {
    const Control& control = panel.controls[i];
    EXPECT_EQ(control.id, tabOrder[i].first) << i;
    EXPECT_EQ(control.style, tabOrder[i].second) << i;
    EXPECT_EQ(control.exStyle, tabOrder[i].second == E ? WS_EX_STATICEDGE : 0u) << i;
  }
  EXPECT_EQ(panel.controls[18].text, "Work theads:");
  EXPECT_EQ(panel.controls[36].text, "Start");
}

TEST_F(LanguageModule, CarriesTheSmallDialogsMenuIconsAndStrings) {
  const Template about = Decode(Bytes(IDD_ABOUT, MAKEINTRESOURCEA(5)));
  EXPECT_EQ(about.style, 0x80C800C8u);
  EXPECT_EQ(about.caption, "About");
  ASSERT_EQ(about.controls.size(), 7u);
  EXPECT_EQ(about.controls[0].id, IDC_ABOUT_ICON);
  EXPECT_EQ(about.controls[0].text, "#128") << "the icon control names icon 128 by number";
  EXPECT_EQ(about.controls[1].text, "Sieveline 2005");
  EXPECT_EQ(about.controls[4].id, IDC_LINK);

  const Template compact = Decode(Bytes(IDD_COMPACT_MEMORY, MAKEINTRESOURCEA(5)));
  EXPECT_EQ(compact.style, 0x00C00148u);
  EXPECT_EQ(compact.caption, "Memory compacting...");
  ASSERT_EQ(compact.controls.size(), 8u);
  EXPECT_EQ(compact.controls[5].id, IDC_PROGRESS);
  EXPECT_EQ(lstrcmpiA(compact.controls[5].windowClass.c_str(), PROGRESS_CLASSA), 0);
  EXPECT_EQ(compact.controls[7].id, IDOK);

  HMENU menu = LoadMenuA(m_module, MAKEINTRESOURCEA(IDR_TRAY_MENU));
  ASSERT_NE(menu, nullptr);
  HMENU popup = GetSubMenu(menu, 0);
  const UINT commands[] = {ID_APP_OPEN, 0, ID_START_STOP, ID_APP_ABOUT, ID_APP_EXIT};
  const std::string texts[] = {"&Open", "", "&Start", "&About...", "E&xit"};
  ASSERT_EQ(GetMenuItemCount(popup), 5);
  for (std::size_t i = 0; i < 5; ++i) {
    char text[64] = {};
    MENUITEMINFOA info{};
    info.cbSize = sizeof info;
    info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = sizeof text;
    ASSERT_TRUE(GetMenuItemInfoA(popup, static_cast<UINT>(i), TRUE, &info));
    EXPECT_EQ((info.fType & MFT_SEPARATOR) != 0, commands[i] == 0) << i;
    EXPECT_EQ(info.wID, commands[i]) << i;
    EXPECT_EQ(text, texts[i]) << i;
  }
  DestroyMenu(menu);

  // Each icon holds its own 32-bit image at every size the program asks for, so none
  // is scaled from another.
  for (const int id : {IDI_NORMAL, IDI_BUSY}) {
    const std::vector<std::uint8_t> group = Bytes(id, MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    ASSERT_GE(group.size(), 6u) << id;
    for (const int size : {16, 32, 48}) {
      const int image = LookupIconIdFromDirectoryEx(const_cast<PBYTE>(group.data()), TRUE, size,
                                                    size, LR_DEFAULTCOLOR);
      const std::vector<std::uint8_t> bits = Bytes(image, MAKEINTRESOURCEA(3));  // RT_ICON
      ASSERT_GE(bits.size(), 16u) << id << " at " << size;
      Reader header(bits);
      EXPECT_EQ(header.Read(4), 40u);
      EXPECT_EQ(header.Read(4), static_cast<std::uint32_t>(size)) << id;
      EXPECT_EQ(header.Read(4), static_cast<std::uint32_t>(2 * size)) << id;
      header.Read(2);
      EXPECT_EQ(header.Read(2), 32u) << id << " at " << size;

      HANDLE icon = LoadImageA(m_module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0);
      EXPECT_NE(icon, nullptr) << id << " at " << size;
      if (icon != nullptr) DestroyIcon(static_cast<HICON>(icon));
    }
  }

  char text[64] = {};
  EXPECT_EQ(LoadStringA(m_module, 3003, text, sizeof text), 9);
  EXPECT_STREQ(text, "Sieveline");
}

}  // namespace
