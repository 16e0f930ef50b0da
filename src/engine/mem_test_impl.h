#pragma once
// The common part of the test methods: buffers, thread, error queue and stop, and the
// iteration body that every method shares. A method supplies Prepare and RunCycle; the
// panel's methods run the cycle frame over their own iteration, which visits one word
// with CheckAndRewrite, and the sweep runs a frame of blocks of its own.

#include <cstdint>
#include <vector>

#include "engine/engine_state.h"
#include "engine/error_queue.h"
#include "engine/mem_test.h"
#include "platform/cache_line.h"
#include "platform/stop_signal.h"
#include "platform/thread.h"
#include "random/random.h"

// Aligned to a cache line: the method's position is written on every iteration, and
// the controller makes the workers one right after the other.
class alignas(platform::kCacheLineBytes) IMemTestImpl : public IMemTest {
 public:
  HRESULT AllocateBuffers() override;
  HRESULT Start(std::uint64_t memoryBytes, std::uint32_t delayMs, bool highMemory) override;
  bool GetNextError(MemTestError& error) override;
  void Release() override;
  MemTestStatus GetStatus() const override;

  // Iterations per cycle for a share of memorySize bytes.
  static std::uint32_t CycleIterationsFor(std::uint64_t memorySize) {
    return memorySize < 0x10000000u ? 0x100000u : 0x800000u;
  }

  // Test seam: called on the worker's own thread after every cycle, with both buffers,
  // so a test can inspect them or plant a fault without racing the worker. Set it
  // before Start.
  using CycleHook = void (*)(void* context, volatile std::uint64_t* a, volatile std::uint64_t* b,
                             std::uint64_t words);
  void SetCycleHook(CycleHook hook, void* context) {
    m_cycleHook = hook;
    m_cycleHookContext = context;
  }

 protected:
  ~IMemTestImpl() override;

  // Runs `iteration` until the count reaches g_cycleIterations, read afresh after every
  // iteration so that a Release ends the cycle at once. A cycle entered while the count
  // is 0 runs nothing and is not counted: workers waiting for their own stop must not
  // inflate the cycle count of a run that is being stopped.
  template <class Iteration>
  void RunCycleFrame(Iteration iteration) {
    std::uint32_t done = 0;
    while (done < g_cycleIterations.load(std::memory_order_relaxed)) {
      iteration();
      ++done;
    }
    if (done != 0) g_cycleCount.fetch_add(1, std::memory_order_relaxed);
  }

  // Checks word i of buffer a (m_bufferA) against its mirror in b (m_bufferB), writes
  // both with nextValue() | g_failMask, and checks again. The accesses are volatile: each
  // must really reach memory. The cycle passes the buffers from its own locals, which
  // stay in registers; the members would be read again after every possible mismatch.
  template <class NextValue>
  void CheckAndRewrite(volatile std::uint64_t* a, volatile std::uint64_t* b, std::uint64_t i,
                       NextValue nextValue) {
    if (a[i] != b[i]) [[unlikely]]
      RecordMismatch(i);
    const std::uint64_t value = nextValue() | g_failMask.load(std::memory_order_relaxed);
    a[i] = value;
    b[i] = value;
    if (a[i] != b[i]) [[unlikely]]
      RecordMismatch(i);
  }

  std::uint64_t* m_bufferA = nullptr;
  std::uint64_t m_wordsA = 0;
  std::uint64_t* m_bufferB = nullptr;
  std::uint64_t m_wordsB = 0;
  IRandom* m_random = nullptr;
  // The method's own generator state or block table.
  std::vector<std::uint64_t> m_generatorTable;
  std::uint64_t m_memorySize = 0;

  // Queues the record of word i, read from both buffers now, and adds its bits to the mask.
  // Cold, and its calls unlikely: the compiler then keeps a cycle's pointers in registers
  // that the call clobbers and saves them only around a call, instead of reloading them
  // from the stack on every iteration.
  [[gnu::cold]] void RecordMismatch(std::uint64_t i);

 private:
  static void WorkerThreadProc(void* worker);
  void RunCycles();

  platform::StopSignal m_stop;
  ErrorQueue m_errors;  // guarded by g_errorLock
  bool m_highMemory = false;
  platform::Thread m_thread;
  std::atomic<MemTestState> m_state{MemTestState::Idle};
  std::atomic<HRESULT> m_failure{S_OK};
  CycleHook m_cycleHook = nullptr;
  void* m_cycleHookContext = nullptr;
};
