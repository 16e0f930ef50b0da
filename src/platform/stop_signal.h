#pragma once
// A stop request that one thread makes and another polls, and a pause that the request
// cuts short, so a thread that sleeps between units of work still stops at once.

#include <atomic>
#include <cstdint>

#if defined(_WIN32)
#include <cstddef>
#else
#include <condition_variable>
#include <mutex>
#endif

namespace platform {

class StopSignal {
 public:
  StopSignal();
  StopSignal(const StopSignal&) = delete;
  StopSignal& operator=(const StopSignal&) = delete;

  // Any thread. Wakes a thread that is pausing.
  void Request();

  // Any thread; cheap enough to ask between every unit of work.
  bool Requested() const { return m_requested.load(std::memory_order_relaxed); }

  // Sleeps up to `milliseconds` (0xFFFFFFFF included, as 49.7 days) and returns early,
  // with true, once a stop has been requested.
  bool Pause(std::uint32_t milliseconds);

 private:
  std::atomic<bool> m_requested{false};
#if defined(_WIN32)
  // SRWLOCK and CONDITION_VARIABLE, kept opaque so no system header leaks out.
  alignas(void*) std::byte m_lock[sizeof(void*)];
  alignas(void*) std::byte m_wake[sizeof(void*)];
#else
  std::mutex m_lock;
  std::condition_variable m_wake;
#endif
};

}  // namespace platform
