#pragma once
// A native thread that is always joined: its owner calls Join, or the destructor does.

#include <cstdint>

#include "platform/hresult.h"

namespace platform {

class Thread {
 public:
  using Proc = void (*)(void* argument);

  Thread() = default;
  Thread(const Thread&) = delete;
  Thread& operator=(const Thread&) = delete;
  ~Thread() { Join(); }

  // Runs proc(argument) on a new thread. E_FAIL when the system cannot create one.
  // The object must stay where it is until Join, which the new thread relies on.
  HRESULT Start(Proc proc, void* argument);

  // Waits for the thread to end and frees it; returns at once when none was started.
  void Join();

  bool Started() const { return m_started; }

 private:
  static void Run(Thread* self) { self->m_proc(self->m_argument); }
  friend struct ThreadEntry;

  Proc m_proc = nullptr;
  void* m_argument = nullptr;
  std::uintptr_t m_native = 0;  // HANDLE on Windows, pthread_t elsewhere
  bool m_started = false;
};

// The calling thread's identifier: never 0, and unique among the running threads.
std::uint32_t CurrentThreadId();

}  // namespace platform
