#include "diag/message_box.h"

namespace {

MessageBoxHook g_showMessageBox = &platform::RunMessageBox;

}  // namespace

int ShowMessageBox(const platform::MessageBoxRequest& box) {
  return g_showMessageBox(box);
}

void SetMessageBoxHook(MessageBoxHook hook) {
  g_showMessageBox = hook != nullptr ? hook : &platform::RunMessageBox;
}
