#pragma once
// Counters shared by every test worker of the process, and the one engine lock.
//
// Threadsafety: the workers read g_cycleIterations after every iteration and write it
// in Prepare; Release sets it to 0, which ends the running cycle of every worker. All
// are relaxed atomics: a worker only needs to see a new value within one iteration.
// g_failMask is read lock-free by every iteration and OR-ed under g_errorLock.
//
// Defined here, inline: a compiler that sees only a declaration may have to reach the
// variable through a pointer, in case it lives in another module (the Windows compiler
// does), and that would cost every iteration a load.

#include <atomic>
#include <cstdint>
#include <mutex>

// Iterations per cycle; 0 makes every running cycle end.
inline std::atomic<std::uint32_t> g_cycleIterations{0};
// Pause after each cycle, in milliseconds; 0 is none.
inline std::atomic<std::uint32_t> g_cycleDelayMs{0};
// Cycles ended by all workers together; the controller resets it when a run starts.
inline std::atomic<std::int32_t> g_cycleCount{0};
// OR of the differing bits of every mismatch ever found, OR-ed into every value written.
// Never cleared while the process lives.
inline std::atomic<std::uint64_t> g_failMask{0};
// Error records that were found but could not be queued for lack of memory.
inline std::atomic<std::uint64_t> g_lostErrorRecords{0};
// Guards every error queue and the updates of g_failMask.
inline std::mutex g_errorLock;
