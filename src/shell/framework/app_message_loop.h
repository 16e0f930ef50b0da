#pragma once
// The program's message loop: its idle processing is the registered idle handlers.

#include "shell/framework/message_loop.h"

// Runs on the thread that owns the loop.
class CAppMessageLoop : public CMessageLoop {
 public:
  // Calls the idle handlers in the order they were added; false at the first that returns
  // false (the rest are not called), true otherwise, also when there is none.
  bool OnIdle(int idleCount) override;
};
