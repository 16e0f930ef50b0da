#include "platform/stop_signal.h"

#include <chrono>

namespace platform {

StopSignal::StopSignal() = default;

void StopSignal::Request() {
  {
    std::lock_guard lock(m_lock);
    m_requested.store(true, std::memory_order_relaxed);
  }
  m_wake.notify_all();
}

bool StopSignal::Pause(std::uint32_t milliseconds) {
  std::unique_lock lock(m_lock);
  m_wake.wait_for(lock, std::chrono::milliseconds(milliseconds),
                  [this] { return m_requested.load(std::memory_order_relaxed); });
  return m_requested.load(std::memory_order_relaxed);
}

}  // namespace platform
