#include <process.h>
#include <windows.h>

#include "platform/thread.h"

namespace platform {

struct ThreadEntry {
  static unsigned __stdcall Main(void* thread) {
    Thread::Run(static_cast<Thread*>(thread));
    return 0;
  }
};

HRESULT Thread::Start(Proc proc, void* argument) {
  m_proc = proc;
  m_argument = argument;
  const std::uintptr_t handle = _beginthreadex(nullptr, 0, &ThreadEntry::Main, this, 0, nullptr);
  if (handle == 0) return E_FAIL;
  m_native = handle;
  m_started = true;
  return S_OK;
}

void Thread::Join() {
  if (!m_started) return;
  const HANDLE handle = reinterpret_cast<HANDLE>(m_native);
  WaitForSingleObject(handle, INFINITE);
  CloseHandle(handle);
  m_native = 0;
  m_started = false;
}

std::uint32_t CurrentThreadId() {
  return GetCurrentThreadId();
}

}  // namespace platform
