#pragma once
// Moving values between a dialog's controls and the fields behind them.

#include <windows.h>
// windows.h first: commctrl.h needs its types.
#include <commctrl.h>

#include <cstdint>

// Mixed into a dialog class T derived from CDialog; everything runs on the dialog's thread.
// Each operation is one exchange of control `id` with a field: load writes the field into
// the control, save (`save` true) reads the control into the field. A failure beeps, puts
// the keyboard focus on the control and returns false.
template <class T>
class CWinDataExchangeEx {
 public:
  // Load: the value as an unsigned decimal number; never fails. Save: fails when the text
  // is not an unsigned decimal number that fits 32 bits.
  bool DDX_UInt(int id, std::uint32_t& value, bool save) {
    const HWND control = GetDlgItem(Dialog(), id);
    if (!save) {
      SetDlgItemInt(Dialog(), id, value, FALSE);
      return true;
    }
    if (!ReadNumber(control, value)) return Fail(control);
    return true;
  }

  // An edit field with an up-down control beside it. Load: makes the up-down control the
  // first time (buddy the edit, range min..max in 32 bits, position value; its handle is kept
  // in the edit's GWLP_USERDATA, where SpinOf finds it), then writes value as DDX_UInt does.
  // Save: reads as DDX_UInt does and also fails outside min..max (both included).
  bool DDX_UIntSpin(int id, std::uint32_t& value, std::uint32_t min, std::uint32_t max, bool save) {
    const HWND edit = GetDlgItem(Dialog(), id);
    if (save) {
      std::uint32_t read = 0;
      if (!ReadNumber(edit, read) || read < min || read > max) return Fail(edit);
      value = read;
      return true;
    }
    if (edit == nullptr) return Fail(edit);
    if (SpinOf(id) == nullptr) {
      const HWND spin = CreateSpin(edit, value, min, max);
      if (spin == nullptr) return Fail(edit);
      SetWindowLongPtrA(edit, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(spin));
    }
    return DDX_UInt(id, value, false);
  }

  // Load selects entry `index` (CB_SETCURSEL) and fails when there is no such entry; save
  // reads the selected index and fails when nothing is selected.
  bool DDX_ComboIndex(int id, std::uint32_t& index, bool save) {
    const HWND combo = GetDlgItem(Dialog(), id);
    if (save) {
      const LRESULT selected = SendMessageA(combo, CB_GETCURSEL, 0, 0);
      if (selected < 0) return Fail(combo);
      index = static_cast<std::uint32_t>(selected);
      return true;
    }
    if (SendMessageA(combo, CB_SETCURSEL, index, 0) == CB_ERR) return Fail(combo);
    return true;
  }

  // Never fails. Save: the flag is whether the box is fully checked.
  void DDX_CheckBox(int id, bool& flag, bool save) {
    if (save) {
      flag = IsDlgButtonChecked(Dialog(), id) == BST_CHECKED;
    } else {
      CheckDlgButton(Dialog(), id, flag ? BST_CHECKED : BST_UNCHECKED);
    }
  }

  // The up-down control that DDX_UIntSpin made for edit `id`, or null.
  HWND SpinOf(int id) const {
    const HWND edit = GetDlgItem(Dialog(), id);
    if (edit == nullptr) return nullptr;
    const HWND spin = reinterpret_cast<HWND>(GetWindowLongPtrA(edit, GWLP_USERDATA));
    return IsWindow(spin) ? spin : nullptr;
  }

 protected:
  // The one reading of a number field, also for readers that report failures their own way.
  // Digits only, at least one, no sign and no spaces, at most 2^32 - 1. Read here rather than
  // through GetDlgItemInt, so that the rule is the same on every system.
  static bool ReadNumber(HWND control, std::uint32_t& value) {
    if (control == nullptr) return false;
    char text[16];
    const int length = GetWindowTextA(control, text, sizeof text);
    if (length <= 0 || length >= static_cast<int>(sizeof text) - 1) return false;
    std::uint64_t number = 0;
    for (int i = 0; i < length; ++i) {
      if (text[i] < '0' || text[i] > '9') return false;
      number = number * 10 + static_cast<std::uint64_t>(text[i] - '0');
      if (number > UINT32_MAX) return false;
    }
    value = static_cast<std::uint32_t>(number);
    return true;
  }

 private:
  // Child, visible, border, UDS_NOTHOUSANDS, UDS_ARROWKEYS, UDS_ALIGNRIGHT, UDS_SETBUDDYINT.
  static constexpr DWORD kSpinStyle = 0x508000A6;

  HWND Dialog() const { return static_cast<const T*>(this)->m_hWnd; }

  bool Fail(HWND control) {
    MessageBeep(0xFFFFFFFF);
    // Through the dialog, so that the default button and an edit's selection follow.
    if (control != nullptr) {
      SendMessageA(Dialog(), WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(control), TRUE);
    }
    return false;
  }

  HWND CreateSpin(HWND edit, std::uint32_t value, std::uint32_t min, std::uint32_t max) const {
    RECT bounds;
    if (!GetWindowRect(edit, &bounds)) return nullptr;
    const int side = bounds.bottom - bounds.top;
    const auto instance = reinterpret_cast<HINSTANCE>(GetWindowLongPtrA(Dialog(), GWLP_HINSTANCE));
    // The 16-bit range and position of creation are only a start: the 32-bit messages after
    // it carry the true values, so memory sizes above 65,535 MB keep their range.
    const HWND spin =
        CreateUpDownControl(kSpinStyle, 0, 0, side, side, Dialog(), 0, instance, edit,
                            static_cast<int>(max), static_cast<int>(min), static_cast<int>(value));
    if (spin == nullptr) return nullptr;
    SendMessageA(spin, UDM_SETRANGE32, static_cast<WPARAM>(min), static_cast<LPARAM>(max));
    SendMessageA(spin, UDM_SETPOS32, 0, static_cast<LPARAM>(value));
    return spin;
  }
};
