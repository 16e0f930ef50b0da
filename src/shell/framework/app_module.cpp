#include "shell/framework/app_module.h"

namespace {

class Guard {
 public:
  explicit Guard(CRITICAL_SECTION& lock) : m_lock(lock) { EnterCriticalSection(&m_lock); }
  ~Guard() { LeaveCriticalSection(&m_lock); }
  Guard(const Guard&) = delete;
  Guard& operator=(const Guard&) = delete;

 private:
  CRITICAL_SECTION& m_lock;
};

}  // namespace

CAppModule::CAppModule() {
  InitializeCriticalSection(&m_lock);
}

CAppModule::~CAppModule() {
  DeleteCriticalSection(&m_lock);
}

void CAppModule::Init(HINSTANCE instance) {
  m_instance = instance;
  m_resources = instance;
}

void CAppModule::Term() {
  Guard guard(m_lock);
  m_loops.clear();
}

HINSTANCE CAppModule::GetModuleInstance() const {
  return m_instance;
}

HINSTANCE CAppModule::GetResourceInstance() const {
  return m_resources;
}

void CAppModule::SetResourceInstance(HINSTANCE resources) {
  m_resources = resources;
}

void CAppModule::AddMessageLoop(CMessageLoop* loop) {
  Guard guard(m_lock);
  m_loops[GetCurrentThreadId()] = loop;
}

void CAppModule::RemoveMessageLoop() {
  Guard guard(m_lock);
  m_loops.erase(GetCurrentThreadId());
}

CMessageLoop* CAppModule::GetMessageLoop(DWORD threadId) const {
  Guard guard(m_lock);
  const auto found = m_loops.find(threadId);
  return found == m_loops.end() ? nullptr : found->second;
}
