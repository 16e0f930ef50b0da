#include <windows.h>

#include "platform/stop_signal.h"

namespace platform {

namespace {

static_assert(sizeof(SRWLOCK) == sizeof(void*) && sizeof(CONDITION_VARIABLE) == sizeof(void*));

}  // namespace

StopSignal::StopSignal() {
  InitializeSRWLock(reinterpret_cast<SRWLOCK*>(m_lock));
  InitializeConditionVariable(reinterpret_cast<CONDITION_VARIABLE*>(m_wake));
}

void StopSignal::Request() {
  auto* lock = reinterpret_cast<SRWLOCK*>(m_lock);
  AcquireSRWLockExclusive(lock);
  m_requested.store(true, std::memory_order_relaxed);
  ReleaseSRWLockExclusive(lock);
  WakeAllConditionVariable(reinterpret_cast<CONDITION_VARIABLE*>(m_wake));
}

bool StopSignal::Pause(std::uint32_t milliseconds) {
  auto* lock = reinterpret_cast<SRWLOCK*>(m_lock);
  auto* wake = reinterpret_cast<CONDITION_VARIABLE*>(m_wake);
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  AcquireSRWLockExclusive(lock);
  // Wakes may be spurious: sleep again for what is left until the deadline.
  for (ULONGLONG now = GetTickCount64();
       !m_requested.load(std::memory_order_relaxed) && now < deadline; now = GetTickCount64()) {
    // A wait is at most 0xFFFFFFFE ms, so it never turns into INFINITE by accident.
    const ULONGLONG left = deadline - now;
    SleepConditionVariableSRW(wake, lock, static_cast<DWORD>(left < INFINITE ? left : INFINITE - 1),
                              0);
  }
  const bool requested = m_requested.load(std::memory_order_relaxed);
  ReleaseSRWLockExclusive(lock);
  return requested;
}

}  // namespace platform
