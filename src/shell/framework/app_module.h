#pragma once
// The application module: the program's instance, the module its resources come from, and
// the message loop of each user-interface thread.

#include <windows.h>

#include <map>

#include "shell/framework/message_loop.h"

// Init, Term and the resource instance belong to the main thread's start-up and shut-down.
// The loop map may be used from any thread: it is guarded by the module's critical section.
class CAppModule {
 public:
  CAppModule();
  ~CAppModule();
  CAppModule(const CAppModule&) = delete;
  CAppModule& operator=(const CAppModule&) = delete;

  // The program instance; it is also the resource instance until SetResourceInstance.
  void Init(HINSTANCE instance);
  // Forgets the registered loops.
  void Term();

  HINSTANCE GetModuleInstance() const;
  HINSTANCE GetResourceInstance() const;
  void SetResourceInstance(HINSTANCE resources);

  // Registers the calling thread's loop (replacing an earlier one); the loop is not owned.
  void AddMessageLoop(CMessageLoop* loop);
  void RemoveMessageLoop();
  // The loop registered for the thread, or null.
  CMessageLoop* GetMessageLoop(DWORD threadId = GetCurrentThreadId()) const;

 private:
  HINSTANCE m_instance = nullptr;
  HINSTANCE m_resources = nullptr;
  mutable CRITICAL_SECTION m_lock;
  std::map<DWORD, CMessageLoop*> m_loops;
};
