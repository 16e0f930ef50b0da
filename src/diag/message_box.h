#pragma once
// The one way the diagnostics show a message box, so that tests can see and answer
// every box instead of the screen.

#include "platform/message_box.h"

// Shows the box (through the test hook, when one is set) and returns the answer.
int ShowMessageBox(const platform::MessageBoxRequest& box);

// Test seam: every box goes to hook and its result is the answer; null puts the
// platform's box back. Set it on the thread that shows the boxes, before it shows any.
using MessageBoxHook = int (*)(const platform::MessageBoxRequest& box);
void SetMessageBoxHook(MessageBoxHook hook);
