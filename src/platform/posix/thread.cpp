#include "platform/thread.h"

#include <pthread.h>
#include <unistd.h>

namespace platform {

struct ThreadEntry {
  static void* Main(void* thread) {
    Thread::Run(static_cast<Thread*>(thread));
    return nullptr;
  }
};

HRESULT Thread::Start(Proc proc, void* argument) {
  m_proc = proc;
  m_argument = argument;
  pthread_t thread;
  if (pthread_create(&thread, nullptr, &ThreadEntry::Main, this) != 0) return E_FAIL;
  m_native = static_cast<std::uintptr_t>(thread);
  m_started = true;
  return S_OK;
}

void Thread::Join() {
  if (!m_started) return;
  pthread_join(static_cast<pthread_t>(m_native), nullptr);
  m_native = 0;
  m_started = false;
}

std::uint32_t CurrentThreadId() {
  return static_cast<std::uint32_t>(gettid());
}

}  // namespace platform
