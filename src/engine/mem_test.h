#pragma once
// A test worker tests one share of the memory under test. It owns two equally sized
// buffers, A and B, that always hold the same words: a fault shows as a word of A that
// differs from the word at the same index of B. Each worker runs its own thread, which
// repeats test cycles until the worker is released; every mismatch is queued as a record.
//
// Typical use, all on the controlling (user-interface) thread:
//   IMemTest* worker = nullptr;
//   if (!Failed(CreateMemTest(kMemTestShuffle, worker)) &&
//       Failed(worker->Start(share, delayMs, highMemory))) { worker->Release(); ... }
//   ... once per status tick: while (worker->GetNextError(record)) report(record);
//   worker->Release();  // stops, joins and frees; the pointer is gone
//
// Threadsafety: CreateMemTest, Start, GetNextError, GetStatus and Release are the
// controller's, from one thread. AllocateBuffers, RunCycle and Prepare run on the
// worker's own thread only. The workers share the counters of engine/engine_state.h.

#include <cstdint>

#include "platform/hresult.h"

// One mismatch: the word read from buffer A and then the word at the same index of B.
// The differing bits are first ^ second.
struct MemTestError {
  std::uint64_t first;
  std::uint64_t second;
};

// Where a worker stands, as the controller sees it.
enum class MemTestState : std::int32_t {
  Idle,      // created, not started
  Starting,  // thread running, preparing its method and committing its buffers
  Testing,   // running cycles
  Ended,     // thread ended after a stop request
  Failed,    // thread ended because Prepare or AllocateBuffers failed; see result
};

struct MemTestStatus {
  MemTestState state;
  HRESULT result;  // the failure of a Failed worker, else S_OK
};

class IMemTest {
 public:
  virtual HRESULT AllocateBuffers() = 0;
  virtual HRESULT RunCycle() = 0;
  virtual HRESULT Prepare() = 0;
  // Starts the worker's thread on a share of memoryBytes (each buffer holds
  // memoryBytes / 16 words). delayMs is the pause after each cycle, for every worker of
  // the process. E_FAIL when no thread could be created; release the worker then.
  virtual HRESULT Start(std::uint64_t memoryBytes, std::uint32_t delayMs, bool highMemory) = 0;
  // Moves the oldest queued record to `error`; false, with `error` untouched, when none.
  virtual bool GetNextError(MemTestError& error) = 0;
  // Stops the thread (a running cycle ends within one iteration, a pause at once),
  // joins it, frees everything, and deletes the worker. Queued records are lost.
  virtual void Release() = 0;

 protected:
  virtual ~IMemTest() = default;

 public:
  // Whether the worker is testing, has ended, or has failed, and with which HRESULT.
  virtual MemTestStatus GetStatus() const = 0;
};

// The method indexes, in the order of the panel's list.
inline constexpr std::int32_t kMemTestRandom = 0;
inline constexpr std::int32_t kMemTestShuffle = 1;

// An idle worker of the method: E_INVALIDARG for an unknown method, E_OUTOFMEMORY when
// it cannot be allocated. `out` is null unless the result is S_OK.
HRESULT CreateMemTest(std::int32_t method, IMemTest*& out);

// The console companion's own method, "sweeping", after the panel's two. The panel does
// not offer it, and CreateMemTest refuses its index.
inline constexpr std::int32_t kMemTestSweep = 2;

// The console companion's factory: the panel's methods as CreateMemTest makes them, and
// kMemTestSweep. Fails as CreateMemTest does.
HRESULT CreateCompanionMemTest(std::int32_t method, IMemTest*& out);
