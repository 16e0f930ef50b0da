#include "shell/framework/dialog_init.h"

// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <cstdint>
#include <cstring>

namespace {

constexpr WORD kDialogInitType = 240;
constexpr WORD kAddString = 0x0403;
constexpr WORD kInsertExtendedItem = 0x1234;
constexpr std::size_t kRecordHeader = 2 + 2 + 4;

// Records follow one another without padding, so fields are read at any alignment.
template <class Field>
Field Read(const unsigned char* at) {
  Field field;
  std::memcpy(&field, at, sizeof field);
  return field;
}

bool Add(HWND dialog, WORD control, WORD message, char* text) {
  if (message == kAddString) {
    return SendDlgItemMessageA(dialog, control, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text)) >=
           0;
  }
  COMBOBOXEXITEMA item{};
  item.mask = CBEIF_TEXT;
  item.iItem = -1;
  item.pszText = text;
  return SendDlgItemMessageA(dialog, control, CBEM_INSERTITEMA, 0,
                             reinterpret_cast<LPARAM>(&item)) >= 0;
}

}  // namespace

bool ExecuteDlgInit(HINSTANCE resources, HWND dialog, int id) {
  const HRSRC found =
      FindResourceA(resources, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(kDialogInitType));
  if (found == nullptr) return false;
  const HGLOBAL loaded = LoadResource(resources, found);
  const auto* data = static_cast<const unsigned char*>(loaded ? LockResource(loaded) : nullptr);
  if (data == nullptr) return false;
  const std::size_t size = SizeofResource(resources, found);

  std::size_t at = 0;
  for (;;) {
    if (size - at < 2) return false;
    const auto control = Read<WORD>(data + at);
    if (control == 0) return true;
    if (size - at < kRecordHeader) return false;
    const auto message = Read<WORD>(data + at + 2);
    const auto length = Read<std::uint32_t>(data + at + 4);
    at += kRecordHeader;
    if (length > size - at) return false;
    const auto* text = data + at;
    at += length;
    if (message != kAddString && message != kInsertExtendedItem) continue;
    if (std::memchr(text, 0, length) == nullptr) return false;
    // The list copies the text; resource data is read-only, and is only read.
    if (!Add(dialog, control, message, const_cast<char*>(reinterpret_cast<const char*>(text)))) {
      return false;
    }
  }
}
