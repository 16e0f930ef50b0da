#pragma once
// Records the diagnostics' message boxes instead of showing them, and answers each with
// a chosen button.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "diag/message_box.h"

namespace test_support {

struct RecordedBox {
  void* owner;
  std::string text;
  std::optional<std::string> caption;  // none: the platform's default caption
  std::uint32_t flags;
  std::uint32_t helpContext;
};

// One at a time; boxes go back to the screen when it is destroyed.
class MessageBoxRecorder {
 public:
  explicit MessageBoxRecorder(int answer = platform::kAnswerOk) : m_answer(answer) {
    s_current = this;
    SetMessageBoxHook(&Record);
  }
  ~MessageBoxRecorder() {
    SetMessageBoxHook(nullptr);
    s_current = nullptr;
  }
  MessageBoxRecorder(const MessageBoxRecorder&) = delete;
  MessageBoxRecorder& operator=(const MessageBoxRecorder&) = delete;

  std::vector<RecordedBox> boxes;

 private:
  static int Record(const platform::MessageBoxRequest& box) {
    s_current->boxes.push_back(
        {box.owner, box.text, box.caption ? std::optional<std::string>(box.caption) : std::nullopt,
         box.flags, box.helpContext});
    return s_current->m_answer;
  }

  static inline MessageBoxRecorder* s_current = nullptr;
  int m_answer;
};

}  // namespace test_support
