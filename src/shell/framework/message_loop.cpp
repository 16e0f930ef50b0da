#include "shell/framework/message_loop.h"

#include <algorithm>

namespace {

template <class T>
void Remove(std::vector<T*>& list, T* item) {
  list.erase(std::remove(list.begin(), list.end(), item), list.end());
}

// The system timer message that drives caret blinking; it has no name in the headers.
constexpr UINT kSystemTimerMessage = 0x118;

thread_local std::exception_ptr t_pendingException;

// Throws what a window procedure kept, if anything.
void RethrowKeptException() {
  if (!t_pendingException) return;
  std::exception_ptr exception = std::move(t_pendingException);
  t_pendingException = nullptr;
  std::rethrow_exception(exception);
}

}  // namespace

void KeepWindowProcedureException(std::exception_ptr exception) {
  // The first one counts: later ones are consequences of running on after it.
  if (!t_pendingException) t_pendingException = std::move(exception);
}

void CMessageLoop::AddMessageFilter(CMessageFilter* filter) {
  m_filters.push_back(filter);
}

void CMessageLoop::RemoveMessageFilter(CMessageFilter* filter) {
  Remove(m_filters, filter);
}

void CMessageLoop::AddIdleHandler(CIdleHandler* handler) {
  m_idleHandlers.push_back(handler);
}

void CMessageLoop::RemoveIdleHandler(CIdleHandler* handler) {
  Remove(m_idleHandlers, handler);
}

int CMessageLoop::Run() {
  bool doIdle = true;
  int idleCount = 0;
  for (;;) {
    while (doIdle && !PeekMessageA(&m_msg, nullptr, 0, 0, PM_NOREMOVE)) {
      if (!OnIdle(idleCount++)) doIdle = false;
    }
    const BOOL result = GetMessageA(&m_msg, nullptr, 0, 0);
    if (result == -1) continue;
    if (result == 0) break;
    if (!PreTranslateMessage(&m_msg)) {
      TranslateMessage(&m_msg);
      DispatchMessageA(&m_msg);
    }
    RethrowKeptException();
    if (!IsIdleMessage(m_msg)) {
      doIdle = true;
      idleCount = 0;
    }
  }
  return static_cast<int>(m_msg.wParam);
}

bool CMessageLoop::PreTranslateMessage(MSG* msg) {
  // By index, and checked on every step: a filter may remove filters while it runs (a panel
  // that closes unregisters itself from inside IsDialogMessage).
  for (std::size_t i = m_filters.size(); i-- > 0;) {
    if (i < m_filters.size() && m_filters[i]->PreTranslateMessage(msg)) return true;
  }
  return false;
}

bool CMessageLoop::IsIdleMessage(const MSG& msg) {
  switch (msg.message) {
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE:
    case WM_PAINT:
    case kSystemTimerMessage:
      return true;
    default:
      return false;
  }
}
