// How close the test workers come to the machine's limit for their access pattern.
// For shares of 64 MB and 1 GiB (and 4 GiB when there is the memory for two), and for
// each method, it prints in one run:
//   - the real workers' rate (CreateMemTest, Start, iterations per second after each
//     worker's first cycle), with one worker and with two;
//   - a limit kernel's rate: the same access pattern (random: uniformly random indexes;
//     shuffling: the same block order and sweep) over two buffers of the same size, with
//     a trivially cheap index and value generator, prefetched at the best of a few
//     distances, on one thread and on two threads at once;
//   - the ratios: one worker against the kernel on one thread, two workers against the
//     kernel on two threads.
//
// Native:  cmake --build --preset native --target engine_throughput &&
//          build/native/bench/engine_throughput
// Wine:    cmake --build --preset win64 --target engine_throughput &&
//          scripts/wine-run build/win64/bench/engine_throughput.exe
// Both, one after the other: scripts/bench-engine native win64

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <memory>
#include <thread>
#include <vector>

#include "diag/physical_memory.h"
#include "engine/engine_state.h"
#include "engine/mem_test_impl.h"
#include "platform/pages.h"

namespace {

using Clock = std::chrono::steady_clock;

// Every rate is taken over at least this long, and over at least kMinCycles cycles.
constexpr std::chrono::milliseconds kMinWindow(2000);
constexpr int kMinCycles = 2;

// The workers' rate from the end of their first cycle to the end of their last whole one.
class CycleClock {
 public:
  static void Hook(void* self, volatile std::uint64_t*, volatile std::uint64_t*, std::uint64_t) {
    static_cast<CycleClock*>(self)->AfterCycle();
  }
  int Cycles() const { return m_cycles.load(std::memory_order_acquire); }
  // Readable once the worker is released.
  double Seconds() const { return std::chrono::duration<double>(m_last - m_first).count(); }

 private:
  void AfterCycle() {
    // A cycle that Release cut short is no whole cycle.
    if (g_cycleIterations.load(std::memory_order_relaxed) == 0) return;
    const Clock::time_point now = Clock::now();
    if (m_cycles.load(std::memory_order_relaxed) == 0) m_first = now;
    m_last = now;
    m_cycles.fetch_add(1, std::memory_order_release);
  }

  std::atomic<int> m_cycles{0};
  Clock::time_point m_first;
  Clock::time_point m_last;
};

// Iterations per second of `count` workers of the method running together.
double WorkerRate(std::int32_t method, std::uint64_t share, int count) {
  std::vector<IMemTest*> workers;
  std::vector<CycleClock> clocks(count);
  for (int w = 0; w < count; ++w) {
    IMemTest* worker = nullptr;
    if (Failed(CreateMemTest(method, worker))) return 0;
    static_cast<IMemTestImpl*>(worker)->SetCycleHook(&CycleClock::Hook, &clocks[w]);
    workers.push_back(worker);
  }
  for (IMemTest* worker : workers) worker->Start(share, 0, false);
  const auto allPast = [&](int cycles) {
    return std::all_of(clocks.begin(), clocks.end(),
                       [&](const CycleClock& clock) { return clock.Cycles() >= cycles; });
  };
  while (!allPast(1)) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  const Clock::time_point start = Clock::now();
  while (!allPast(1 + kMinCycles) || Clock::now() - start < kMinWindow) {
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  for (auto worker = workers.rbegin(); worker != workers.rend(); ++worker) (*worker)->Release();
  const double iterations = IMemTestImpl::CycleIterationsFor(share);
  double rate = 0;
  for (const CycleClock& clock : clocks)
    rate += (clock.Cycles() - 1) * iterations / clock.Seconds();
  return rate;
}

// The limit kernels' cheap generator: xorshift64.
struct Cheap {
  std::uint64_t state;
  std::uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
};

// Prefetch distances the kernels try, in iterations between a prefetch and its visit;
// 0 is none. The best one counts: the shuffle method's blocks lie a power of two apart,
// so lines prefetched far ahead can evict each other before they are used.
constexpr int kDistances[] = {0, 4, 16};
constexpr int kMaxAhead = 16;
constexpr std::uint64_t kChunk = 1u << 20;
constexpr std::chrono::milliseconds kKernelWindow(1000);

// The iteration the workers share, on indexes known `distance` iterations before.
class Kernel {
 public:
  Kernel(std::int32_t method, std::uint64_t share, std::uint64_t seed, int distance)
      : m_method(method), m_words(share / 16), m_cheap{seed | 1}, m_distance(distance) {
    void* pages = nullptr;
    if (!Failed(platform::AllocatePages(m_words * 8, false, pages))) {
      m_a = static_cast<std::uint64_t*>(pages);
    }
    if (!Failed(platform::AllocatePages(m_words * 8, false, pages))) {
      m_b = static_cast<std::uint64_t*>(pages);
    }
    if (m_a) std::fill_n(m_a, m_words, 0x55);
    if (m_b) std::fill_n(m_b, m_words, 0x55);
    const std::uint64_t blocks = share < 0x10000000u ? 64 : 256;
    m_stride = share / (blocks * 16);
    for (std::uint64_t i = 0; i < blocks; ++i) {
      m_table.push_back(i * m_stride);
      std::swap(m_table[i], m_table[m_cheap.Next() % (i + 1)]);
    }
    m_blocksLeft = blocks;
    for (int k = 0; k < m_distance; ++k) m_ahead[k] = NextIndex();
  }
  ~Kernel() {
    if (m_b) platform::FreePages(m_b, m_words * 8);
    if (m_a) platform::FreePages(m_a, m_words * 8);
  }
  bool Ready() const { return m_a && m_b; }
  std::uint64_t Mismatches() const { return m_mismatches; }

  void RunChunk() {
    volatile std::uint64_t* const a = m_a;
    volatile std::uint64_t* const b = m_b;
    for (std::uint64_t n = 0; n < kChunk; ++n) {
      std::uint64_t i;
      if (m_distance == 0) {
        i = NextIndex();
      } else {
        i = m_ahead[m_slot];
        const std::uint64_t next = NextIndex();
        m_ahead[m_slot] = next;
        if (++m_slot == m_distance) m_slot = 0;
        __builtin_prefetch(m_a + next, 1);
        __builtin_prefetch(m_b + next, 1);
      }
      if (a[i] != b[i]) ++m_mismatches;
      const std::uint64_t value = m_cheap.Next();
      a[i] = value;
      b[i] = value;
      if (a[i] != b[i]) ++m_mismatches;
    }
  }

 private:
  std::uint64_t NextIndex() {
    if (m_method == kMemTestRandom) {
      // Uniform over the words by a multiply, not a divide.
      return static_cast<std::uint64_t>(
          (static_cast<unsigned __int128>(m_cheap.Next()) * m_words) >> 64);
    }
    if (m_blocksLeft == 0) {
      m_blocksLeft = m_table.size();
      if (++m_offset == m_stride) m_offset = 0;
    }
    return m_offset + m_table[--m_blocksLeft];
  }

  std::int32_t m_method;
  std::uint64_t m_words;
  Cheap m_cheap;
  std::uint64_t* m_a = nullptr;
  std::uint64_t* m_b = nullptr;
  std::vector<std::uint64_t> m_table;
  std::uint64_t m_stride = 0;
  std::uint64_t m_blocksLeft = 0;
  std::uint64_t m_offset = 0;
  int m_distance;
  std::uint64_t m_ahead[kMaxAhead] = {};
  int m_slot = 0;
  std::uint64_t m_mismatches = 0;
};

// Iterations per second of `count` kernels on threads of their own, run at once.
double KernelRate(std::int32_t method, std::uint64_t share, int count, int distance) {
  std::vector<std::unique_ptr<Kernel>> kernels;
  for (int k = 0; k < count; ++k) {
    kernels.push_back(
        std::make_unique<Kernel>(method, share, 0x9E3779B97F4A7C15ull * (k + 1), distance));
    if (!kernels.back()->Ready()) return 0;
  }
  std::atomic<bool> stop{false};
  std::vector<double> rates(count);
  std::vector<std::thread> threads;
  for (int k = 0; k < count; ++k) {
    threads.emplace_back([&, k] {
      // Like the workers, measured after a first pass over the pattern.
      kernels[k]->RunChunk();
      const Clock::time_point start = Clock::now();
      std::uint64_t chunks = 0;
      while (!stop.load(std::memory_order_relaxed)) {
        kernels[k]->RunChunk();
        ++chunks;
      }
      const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
      rates[k] = chunks * static_cast<double>(kChunk) / seconds;
    });
  }
  std::this_thread::sleep_for(kKernelWindow);
  stop = true;
  for (std::thread& thread : threads) thread.join();
  double rate = 0;
  for (int k = 0; k < count; ++k) {
    if (kernels[k]->Mismatches() != 0) std::printf("kernel %d found mismatches\n", k);
    rate += rates[k];
  }
  return rate;
}

// The kernels' rate at the best prefetch distance.
double BestKernelRate(std::int32_t method, std::uint64_t share, int count) {
  double best = 0;
  for (const int distance : kDistances)
    best = std::max(best, KernelRate(method, share, count, distance));
  return best;
}

}  // namespace

int main() {
  std::vector<std::uint64_t> shares = {64ull << 20, 1ull << 30};
  // Two workers or two kernels of 4 GiB each, with room to spare.
  if (GetPhysicalMemoryMb() >= 2 * 4096 + 2048) shares.push_back(4ull << 30);

  std::printf("%-9s %6s  %8s %8s %6s  %8s %8s %6s   (M iterations/s)\n", "method", "share",
              "worker", "kernel", "ratio", "2 worker", "2 kernel", "ratio");
  for (const std::uint64_t share : shares) {
    for (const std::int32_t method : {kMemTestRandom, kMemTestShuffle}) {
      const double one = WorkerRate(method, share, 1) / 1e6;
      const double two = WorkerRate(method, share, 2) / 1e6;
      const double kernel = BestKernelRate(method, share, 1) / 1e6;
      const double kernels = BestKernelRate(method, share, 2) / 1e6;
      std::printf("%-9s %4llu MB  %8.1f %8.1f %6.2f  %8.1f %8.1f %6.2f\n",
                  method == kMemTestRandom ? "random" : "shuffling",
                  static_cast<unsigned long long>(share >> 20), one, kernel,
                  kernel > 0 ? one / kernel : 0.0, two, kernels, kernels > 0 ? two / kernels : 0.0);
      std::fflush(stdout);
    }
  }
  return 0;
}
