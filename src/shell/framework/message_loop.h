#pragma once
// The message loop of one user-interface thread, with its message filters and idle handlers.

#include <windows.h>

#include <exception>
#include <vector>

#include "shell/framework/idle_handler.h"
#include "shell/framework/message_filter.h"

// Everything here runs on the thread that owns the loop. Filters and handlers are not owned;
// each stays registered until removed, and may remove itself (or others) while being called.
// An exception that leaves a window or dialog procedure would have to unwind through the
// system's message dispatch, which C++ exceptions must not cross. The procedure keeps it
// here instead, and the loop of its thread throws it again once the system has returned.
void KeepWindowProcedureException(std::exception_ptr exception);

class CMessageLoop {
 public:
  virtual ~CMessageLoop() = default;

  void AddMessageFilter(CMessageFilter* filter);
  void RemoveMessageFilter(CMessageFilter* filter);
  void AddIdleHandler(CIdleHandler* handler);
  void RemoveIdleHandler(CIdleHandler* handler);

  // Pumps the thread's queue until WM_QUIT and returns its wParam. While the queue is empty
  // it calls OnIdle with a rising count until that returns false; any message other than the
  // idle-neutral ones (IsIdleMessage) starts idle processing again from a count of 0.
  int Run();

  // Offers the message to the filters from the last added to the first; true at the first
  // that takes it.
  virtual bool PreTranslateMessage(MSG* msg);
  virtual bool OnIdle(int idleCount) = 0;

  // The messages after which idle processing does not restart: mouse moves, painting and the
  // system timer arrive all the time and say nothing about new work.
  static bool IsIdleMessage(const MSG& msg);

 protected:
  std::vector<CMessageFilter*> m_filters;
  std::vector<CIdleHandler*> m_idleHandlers;
  MSG m_msg{};
};
