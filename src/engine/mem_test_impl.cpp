#include "engine/mem_test_impl.h"

#include <algorithm>
#include <new>

#include "platform/pages.h"

namespace {

constexpr std::uint64_t kFillValue = 0x55;

}  // namespace

HRESULT IMemTestImpl::AllocateBuffers() {
  const std::uint64_t words = m_memorySize / 16;
  void* pages = nullptr;
  HRESULT result = platform::AllocatePages(words * sizeof(std::uint64_t), false, pages);
  if (Failed(result)) return result;
  m_bufferA = static_cast<std::uint64_t*>(pages);
  m_wordsA = words;

  result = platform::AllocatePages(words * sizeof(std::uint64_t), m_highMemory, pages);
  if (Failed(result)) return result;
  m_bufferB = static_cast<std::uint64_t*>(pages);
  m_wordsB = words;

  std::fill_n(m_bufferA, words, kFillValue);
  std::fill_n(m_bufferB, words, kFillValue);
  return S_OK;
}

HRESULT IMemTestImpl::Start(std::uint64_t memoryBytes, std::uint32_t delayMs, bool highMemory) {
  if (m_state.load(std::memory_order_relaxed) != MemTestState::Idle) return E_FAIL;
  m_memorySize = memoryBytes;
  m_highMemory = highMemory;
  g_cycleDelayMs.store(delayMs, std::memory_order_relaxed);
  // Marked before the thread exists, so that the thread's own marks are never overwritten.
  m_state.store(MemTestState::Starting, std::memory_order_relaxed);
  if (Failed(m_thread.Start(&WorkerThreadProc, this))) {
    m_state.store(MemTestState::Idle, std::memory_order_relaxed);
    return E_FAIL;
  }
  return S_OK;
}

void IMemTestImpl::WorkerThreadProc(void* argument) {
  auto& worker = *static_cast<IMemTestImpl*>(argument);
  HRESULT result;
  try {
    result = worker.Prepare();
  } catch (const std::bad_alloc&) {
    result = E_OUTOFMEMORY;
  }
  if (!Failed(result)) result = worker.AllocateBuffers();
  if (Failed(result)) {
    worker.m_failure.store(result, std::memory_order_relaxed);
    worker.m_state.store(MemTestState::Failed, std::memory_order_release);
    return;
  }
  if (!worker.m_stop.Requested()) {
    worker.m_state.store(MemTestState::Testing, std::memory_order_release);
    worker.RunCycles();
  }
  worker.m_state.store(MemTestState::Ended, std::memory_order_release);
}

void IMemTestImpl::RunCycles() {
  for (;;) {
    RunCycle();
    if (m_cycleHook) m_cycleHook(m_cycleHookContext, m_bufferA, m_bufferB, m_wordsA);
    // The pause is cut short by Release, so even the longest one never holds up a stop.
    const std::uint32_t delay = g_cycleDelayMs.load(std::memory_order_relaxed);
    if (delay != 0) m_stop.Pause(delay);
    if (m_stop.Requested()) return;
  }
}

void IMemTestImpl::RecordMismatch(std::uint64_t i) {
  volatile std::uint64_t* const a = m_bufferA;
  volatile std::uint64_t* const b = m_bufferB;
  const std::uint64_t first = a[i];
  const std::uint64_t second = b[i];
  std::lock_guard lock(g_errorLock);
  // Without memory for the record it is lost, but counted, and its bits still mark
  // every later value.
  if (!m_errors.Push({first, second})) g_lostErrorRecords.fetch_add(1, std::memory_order_relaxed);
  g_failMask.fetch_or(first ^ second, std::memory_order_relaxed);
}

bool IMemTestImpl::GetNextError(MemTestError& error) {
  std::lock_guard lock(g_errorLock);
  return m_errors.Pop(error);
}

MemTestStatus IMemTestImpl::GetStatus() const {
  const MemTestState state = m_state.load(std::memory_order_acquire);
  return {state, m_failure.load(std::memory_order_relaxed)};
}

void IMemTestImpl::Release() {
  if (m_thread.Started()) {
    // A thread that failed never cycles; stopping it must not cut the other workers' cycles.
    if (m_state.load(std::memory_order_acquire) != MemTestState::Failed) {
      m_stop.Request();
      g_cycleIterations.store(0, std::memory_order_relaxed);
    }
    m_thread.Join();
  }
  delete this;
}

IMemTestImpl::~IMemTestImpl() {
  m_errors.Clear();
  m_generatorTable.clear();
  m_generatorTable.shrink_to_fit();
  if (m_random) m_random->Release();
  if (m_bufferB) platform::FreePages(m_bufferB, m_wordsB * sizeof(std::uint64_t));
  if (m_bufferA) platform::FreePages(m_bufferA, m_wordsA * sizeof(std::uint64_t));
}
