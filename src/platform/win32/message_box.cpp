#include <windows.h>

#include "platform/message_box.h"

namespace platform {

int RunMessageBox(const MessageBoxRequest& box) {
  // The indirect form, because only it takes a help context.
  MSGBOXPARAMSA params{};
  params.cbSize = sizeof params;
  params.hwndOwner = static_cast<HWND>(box.owner);
  params.lpszText = box.text;
  params.lpszCaption = box.caption;
  params.dwStyle = box.flags;
  params.dwContextHelpId = box.helpContext;
  return MessageBoxIndirectA(&params);
}

bool IsLiveWindow(void* window) {
  return IsWindow(static_cast<HWND>(window)) != FALSE;
}

}  // namespace platform
