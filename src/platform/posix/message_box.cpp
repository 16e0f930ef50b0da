#include "platform/message_box.h"

#include <cstdio>

namespace platform {

namespace {

// The first button of each button set (the low four bits of the flags).
int FirstButton(std::uint32_t flags) {
  switch (flags & 0xF) {
    case 2:  // Abort, Retry, Ignore
      return kAnswerAbort;
    case 3:  // Yes, No, Cancel
    case 4:  // Yes, No
      return kAnswerYes;
    case 5:  // Retry, Cancel
      return kAnswerRetry;
    case 6:  // Cancel, Try again, Continue
      return kAnswerCancel;
    default:  // OK; OK, Cancel
      return kAnswerOk;
  }
}

}  // namespace

int RunMessageBox(const MessageBoxRequest& box) {
  std::fprintf(stderr, "[%s]\n%s\n", box.caption ? box.caption : "Error", box.text);
  return FirstButton(box.flags);
}

bool IsLiveWindow(void* window) {
  return window != nullptr;
}

}  // namespace platform
