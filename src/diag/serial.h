#pragma once
// Small helpers of the diagnostics library: serial numbers, and a fixed amount of
// serialising work for timing and contention experiments.

#include <atomic>
#include <cstdint>

// 1, 2, 3, ... for successive calls. Not synchronised: one thread only.
std::uint32_t NextSerial();

// Executes CPUID (leaf 0, which serialises the instruction stream) exactly 400,000 times
// and returns the highest supported leaf from the last execution.
std::uint32_t SpinSerialize();

// The same, adding 1 to `counter` atomically before each execution, so several threads
// may share one counter.
std::uint32_t SpinSerializeCount(std::atomic<std::uint32_t>& counter);
