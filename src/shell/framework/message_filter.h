#pragma once
// A window that looks at messages before the loop translates and dispatches them.

#include <windows.h>

// Called on the thread whose message loop the filter is registered with.
class CMessageFilter {
 public:
  // True when the filter took the message: the loop then neither translates nor dispatches it.
  virtual bool PreTranslateMessage(MSG* msg) = 0;

 protected:
  ~CMessageFilter() = default;
};
