#pragma once
// The platform's modal message box.

#include <cstdint>

namespace platform {

// Buttons' answers, as the platform numbers them.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerCancel = 2;
inline constexpr int kAnswerAbort = 3;
inline constexpr int kAnswerRetry = 4;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

struct MessageBoxRequest {
  void* owner = nullptr;  // a window (HWND); null for none
  const char* text = "";
  const char* caption = nullptr;  // null: the platform's default caption
  std::uint32_t flags = 0;        // the platform's message-box style flags (MB_...)
  std::uint32_t helpContext = 0;  // sent to the owner when the Help button is pressed
};

// Shows the box and returns the answer; 0 when the box could not be shown. Native
// builds have no window system: the caption and text go to standard error and the
// answer is the first button's.
int RunMessageBox(const MessageBoxRequest& box);

// Whether window names an existing window. Native builds have no window system, where
// any non-null handle stands for one, so the owner rules read the same on both.
bool IsLiveWindow(void* window);

}  // namespace platform
