#include "shell/framework/app_message_loop.h"

bool CAppMessageLoop::OnIdle(int /*idleCount*/) {
  // By index, and checked on every step: a handler may remove handlers while it runs.
  for (std::size_t i = 0; i < m_idleHandlers.size(); ++i) {
    if (!m_idleHandlers[i]->OnIdle()) return false;
  }
  return true;
}
