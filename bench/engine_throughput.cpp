// How close the test workers come to the machine's limit for their access pattern.
// For shares of 64 MB and 1 GiB (and 4 GiB when there is the memory for two), and for
// each method, it prints in one run:
//   - the real workers' rate (CreateMemTest, Start, iterations per second after each
//     worker's first cycle), with one worker and with two;
//   - a limit kernel's rate: the same access pattern (random: uniformly random indexes;
//     shuffling: the worker's own block order and the same sweep; sweeping: a stream
//     through both buffers in address order, a block at a time, compared, written and
//     compared again) with a trivially cheap index and value generator, at the best of a
//     few prefetch distances (and, for shuffling, of a few paces), on one thread and on
//     two threads at once;
//   - the ratios: one worker against the kernel on one thread, two workers against the
//     kernel on two threads.
//
// The kernel runs on the workers' own buffers, on the workers' own threads, between
// their cycles: all workers finish a cycle, all run the kernel for as many iterations,
// and go on with their next cycle. Memory in a virtual machine is not equally fast
// everywhere, and neighbours come and go; this way both rates see the same pages and
// the same moments. Neighbours only ever slow a phase down, so each rate is that of its
// fastest phase. The kernel writes each value to both buffers, so the mirrors stay
// equal and the workers find nothing.
//
// Native:  cmake --build --preset native --target engine_throughput &&
//          build/native/bench/engine_throughput
// Wine:    cmake --build --preset win64 --target engine_throughput &&
//          scripts/wine-run build/win64/bench/engine_throughput.exe
// Both, one after the other: scripts/bench-engine native win64

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <iterator>
#include <limits>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

#include "diag/physical_memory.h"
#include "engine/block_compare.h"
#include "engine/engine_state.h"
#include "engine/mem_test_impl.h"
#include "engine/mem_test_shuffle.h"
#include "engine/mem_test_sweep.h"

namespace {

using Clock = std::chrono::steady_clock;

// Measuring ends once the workers' cycles took this long together, and every kernel
// variant had at least kMinRounds phases.
constexpr std::chrono::milliseconds kMinWindow(2000);
constexpr int kMinRounds = 3;

// How a kernel runs: `distance` iterations between a prefetch and its visit (0 is none),
// and `pace` extra steps of its value generator that every iteration waits for.
struct Variant {
  int distance;
  int pace;
};
constexpr int kMaxAhead = 32;

// The variants each method's kernel tries; the best one counts. The shuffle method's
// blocks lie a power of two apart, so its lines conflict in the caches: prefetched, or
// with too many iterations in flight at once, they evict each other before they are
// used, and that kernel runs fastest when it is held back to a few iterations at a time.
std::vector<Variant> VariantsOf(std::int32_t method) {
  if (method == kMemTestShuffle) return {{0, 0}, {32, 0}, {0, 2}, {0, 3}, {0, 4}, {0, 6}};
  return {{0, 0}, {8, 0}, {16, 0}, {32, 0}};
}
// The stream runs ahead of itself on its own: the sweeping kernel prefetches this many
// times further, in words.
constexpr int kStreamDistanceScale = 32;

// The kernels' cheap generator: xorshift64.
struct Cheap {
  std::uint64_t state;
  std::uint64_t Next() {
    state ^= state << 13;
    state ^= state >> 7;
    state ^= state << 17;
    return state;
  }
};

// One block of the stream kernel: compared, written with the lanes of `value` counting
// on, compared again; prefetching `prefetchAt` words ahead unless 0. True on a mismatch.
[[gnu::always_inline]] inline bool StreamBlock(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                                               std::uint64_t prefetchAt, WordLanes& value) {
  if (prefetchAt != 0) {
    for (std::uint64_t k = 0; k < n; k += 8) {
      __builtin_prefetch(a + prefetchAt + k, 1);
      __builtin_prefetch(b + prefetchAt + k, 1);
    }
  }
  ForgetMemory();
  const bool before = BlockDifferences(a, b, n) != 0;
  WordLanes counting = value;
  std::uint64_t k = 0;
  for (; k + 4 <= n; k += 4) {
    counting += 0x9E3779B97F4A7C15ull;
    std::memcpy(a + k, &counting, sizeof counting);
    std::memcpy(b + k, &counting, sizeof counting);
  }
  for (; k < n; ++k) {
    counting += 0x9E3779B97F4A7C15ull;
    a[k] = counting[0];
    b[k] = counting[0];
  }
  value = counting;
  ForgetMemory();
  return before || BlockDifferences(a, b, n) != 0;
}

// The kernel compiled as the sweeping worker's fast path is: for any x86-64 processor,
// and for those with 256-bit vectors.
using StreamBlockFunction = bool (*)(std::uint64_t*, std::uint64_t*, std::uint64_t, std::uint64_t,
                                     WordLanes&);

bool StreamBlockBaseline(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                         std::uint64_t prefetchAt, WordLanes& value) {
  return StreamBlock(a, b, n, prefetchAt, value);
}

[[gnu::target("avx2")]] bool StreamBlockAvx2(std::uint64_t* a, std::uint64_t* b, std::uint64_t n,
                                             std::uint64_t prefetchAt, WordLanes& value) {
  return StreamBlock(a, b, n, prefetchAt, value);
}

// The iteration the workers share, on indexes known `distance` iterations before, over
// a worker's buffers; values from a chain of 1 + `pace` generator steps.
class Kernel {
 public:
  // `table` is the shuffling worker's own block order, so that both sweep alike.
  Kernel(std::int32_t method, std::uint64_t share, std::uint64_t* a, std::uint64_t* b,
         std::uint64_t seed, std::vector<std::uint64_t> table)
      : m_method(method), m_words(share / 16), m_a(a), m_b(b), m_table(std::move(table)) {
    m_state.cheap.state = seed | 1;
    if (!m_table.empty()) m_stride = share / (m_table.size() * 16);
    m_state.blocksLeft = m_table.size();
  }
  std::uint64_t Mismatches() const { return m_mismatches; }
  void Mismatch();

  void Run(std::uint64_t iterations, Variant variant) {
    const int distance = variant.distance;
    const int pace = variant.pace;
    if (m_method == kMemTestSweep) {
      Stream(iterations, distance * kStreamDistanceScale);
    } else if (m_method == kMemTestRandom) {
      Loop(iterations, distance, pace, [words = m_words](State& state) {
        // Uniform over the words by a multiply, not a divide.
        return static_cast<std::uint64_t>(
            (static_cast<unsigned __int128>(state.cheap.Next()) * words) >> 64);
      });
    } else {
      Loop(iterations, distance, pace,
           [table = m_table.data(), blocks = m_table.size(), stride = m_stride](State& state) {
             if (state.blocksLeft == 0) {
               state.blocksLeft = blocks;
               if (++state.offset == stride) state.offset = 0;
             }
             return state.offset + table[--state.blocksLeft];
           });
    }
  }

 private:
  struct State {
    Cheap cheap;
    std::uint64_t blocksLeft = 0;
    std::uint64_t offset = 0;
  };

  // Works on copies of the state, which stay in registers: the buffers' words could
  // otherwise alias the members, and every store to them would cost a reload.
  template <class NextIndex>
  void Loop(std::uint64_t iterations, int distance, int pace, NextIndex nextIndex) {
    State state = m_state;
    std::uint64_t ahead[kMaxAhead];
    for (int k = 0; k < distance; ++k) ahead[k] = nextIndex(state);
    volatile std::uint64_t* const a = m_a;
    volatile std::uint64_t* const b = m_b;
    int slot = 0;
    for (std::uint64_t n = 0; n < iterations; ++n) {
      std::uint64_t i;
      if (distance == 0) {
        i = nextIndex(state);
      } else {
        i = ahead[slot];
        const std::uint64_t next = nextIndex(state);
        ahead[slot] = next;
        if (++slot == distance) slot = 0;
        __builtin_prefetch(m_a + next, 1);
        __builtin_prefetch(m_b + next, 1);
      }
      if (a[i] != b[i]) [[unlikely]]
        Mismatch();
      std::uint64_t value = state.cheap.Next();
      for (int step = 0; step < pace; ++step) value = state.cheap.Next();
      a[i] = value;
      b[i] = value;
      if (a[i] != b[i]) [[unlikely]]
        Mismatch();
    }
    m_state = state;
  }

  // Through the words in address order from where the last phase ended, as the sweep
  // goes: a block compared as a whole, written, and compared again.
  void Stream(std::uint64_t iterations, int distance) {
    constexpr std::uint64_t kBlock = CMemTestSweep::kBlockWords;
    std::uint64_t* const a = m_a;
    std::uint64_t* const b = m_b;
    const std::uint64_t words = m_words;
    const StreamBlockFunction streamBlock = m_streamBlock;
    std::uint64_t position = m_position;
    WordLanes value = m_streamValue;
    for (std::uint64_t done = 0; done < iterations;) {
      const std::uint64_t n =
          std::min({kBlock - position % kBlock, iterations - done, words - position});
      const std::uint64_t prefetchAt = position + distance + n <= words ? distance : 0;
      if (streamBlock(a + position, b + position, n, prefetchAt, value)) [[unlikely]]
        Mismatch();
      done += n;
      position += n;
      if (position == words) position = 0;
    }
    m_position = position;
    m_streamValue = value;
  }

  std::int32_t m_method;
  std::uint64_t m_words;
  std::uint64_t* m_a;
  std::uint64_t* m_b;
  std::vector<std::uint64_t> m_table;
  std::uint64_t m_stride = 0;
  // The stream's next word. It starts half the buffers away from the worker, which
  // starts at word 0 and goes as far per cycle as the stream per phase: neither ever
  // finds the words the other has just left in the caches.
  std::uint64_t m_position = m_words / 2;
  WordLanes m_streamValue{1, 2, 3, 4};
  const StreamBlockFunction m_streamBlock =
      HasWideVectors() ? &StreamBlockAvx2 : &StreamBlockBaseline;
  State m_state;
  std::uint64_t m_mismatches = 0;
};

// Out of line, like the workers' own record of a mismatch: the loop goes on predicting
// that words match instead of waiting for each comparison.
[[gnu::noinline, gnu::cold]] void Kernel::Mismatch() {
  ++m_mismatches;
}

// The workers' meeting point between phases. The last thread to arrive runs
// `phaseEnded` before any of them goes on; a thread that will never arrive is dropped.
// (The standard library's barrier of the cross compiler's release can hang in its wait.)
template <class PhaseEnded>
class Barrier {
 public:
  Barrier(int count, PhaseEnded phaseEnded) : m_count(count), m_phaseEnded(phaseEnded) {}

  void ArriveAndWait() {
    std::unique_lock lock(m_mutex);
    const std::uint64_t generation = m_generation;
    if (++m_arrived == m_count) {
      NextPhase();
    } else {
      m_changed.wait(lock, [&] { return m_generation != generation; });
    }
  }

  void Drop() {
    std::lock_guard lock(m_mutex);
    if (--m_count == m_arrived && m_arrived != 0) NextPhase();
  }

 private:
  void NextPhase() {
    m_phaseEnded();
    m_arrived = 0;
    ++m_generation;
    m_changed.notify_all();
  }

  std::mutex m_mutex;
  std::condition_variable m_changed;
  int m_count;
  int m_arrived = 0;
  std::uint64_t m_generation = 0;
  PhaseEnded m_phaseEnded;
};

struct Rates {
  double workers = 0;  // iterations per second, all workers together
  double kernels = 0;  // likewise, of the best variant
};

// Runs `count` workers of the method and, between their cycles, the kernel on each
// worker's thread and buffers. Phases alternate: all workers cycle, all run the kernel.
class SideBySide {
 public:
  SideBySide(std::int32_t method, std::uint64_t share, int count)
      : m_method(method),
        m_share(share),
        m_count(count),
        m_iterations(IMemTestImpl::CycleIterationsFor(share)),
        m_variants(VariantsOf(method)),
        m_kernels(count),
        m_barrier(count, Completion{this}) {}

  Rates Measure() {
    std::vector<IMemTest*>& workers = m_workers;
    for (int w = 0; w < m_count; ++w) {
      IMemTest* worker = nullptr;
      if (::Failed(CreateCompanionMemTest(m_method, worker))) break;
      m_hooks.push_back({this, w});
      workers.push_back(worker);
    }
    if (static_cast<int>(workers.size()) == m_count) {
      for (int w = 0; w < m_count; ++w) {
        static_cast<IMemTestImpl*>(workers[w])->SetCycleHook(&Hook, &m_hooks[w]);
      }
      for (IMemTest* worker : workers) worker->Start(m_share, 0, false);
      while (!m_done.load(std::memory_order_acquire)) {
        if (Failed(workers)) return {};
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
      }
    }
    for (auto worker = workers.rbegin(); worker != workers.rend(); ++worker) (*worker)->Release();
    for (const auto& kernel : m_kernels) {
      if (kernel && kernel->Mismatches() != 0) std::printf("a kernel found mismatches\n");
    }
    if (!m_done) return {};
    Rates rates;
    rates.workers = m_iterations * m_count / m_fastestCycle;
    for (const double seconds : m_fastestKernel) {
      rates.kernels = std::max(rates.kernels, m_iterations * m_count / seconds);
    }
    return rates;
  }

 private:
  struct HookContext {
    SideBySide* self;
    int worker;
  };
  // Runs when the last thread arrives at the barrier, before any of them goes on.
  struct Completion {
    SideBySide* self;
    void operator()() { self->PhaseEnded(); }
  };

  // When a worker could not start, the others are let out of the barrier, told that
  // measuring is over, and released: no rates.
  bool Failed(std::vector<IMemTest*>& workers) {
    int failed = 0;
    for (IMemTest* worker : workers) failed += worker->GetStatus().state == MemTestState::Failed;
    if (failed == 0) return false;
    std::printf("a worker could not start\n");
    m_done.store(true, std::memory_order_release);
    for (int w = 0; w < failed; ++w) m_barrier.Drop();
    for (auto worker = workers.rbegin(); worker != workers.rend(); ++worker) (*worker)->Release();
    return true;
  }

  static void Hook(void* context, volatile std::uint64_t* a, volatile std::uint64_t* b,
                   std::uint64_t) {
    const auto& hook = *static_cast<HookContext*>(context);
    hook.self->BetweenCycles(hook.worker, const_cast<std::uint64_t*>(a),
                             const_cast<std::uint64_t*>(b));
  }

  // On worker `w`'s thread, after each of its cycles.
  void BetweenCycles(int w, std::uint64_t* a, std::uint64_t* b) {
    // Once measured, and for the cycles that Release cuts short, nothing more.
    if (m_done.load(std::memory_order_acquire)) return;
    m_barrier.ArriveAndWait();
    if (m_done.load(std::memory_order_acquire)) return;
    if (!m_kernels[w]) {
      std::vector<std::uint64_t> table;
      if (m_method == kMemTestShuffle) {
        table = static_cast<const CMemTestShuffle*>(m_workers[w])->BlockTable();
      }
      m_kernels[w] = std::make_unique<Kernel>(m_method, m_share, a, b,
                                              0x9E3779B97F4A7C15ull * (w + 1), std::move(table));
    }
    m_kernels[w]->Run(m_iterations, m_variants[m_variant]);
    m_barrier.ArriveAndWait();
  }

  // Phases alternate, starting with the cycles; the first of each kind warms up.
  void PhaseEnded() {
    const Clock::time_point now = Clock::now();
    const double seconds = std::chrono::duration<double>(now - m_phaseStart).count();
    m_phaseStart = now;
    const bool cycles = m_phase % 2 == 0;
    if (m_phase >= 2 && cycles) {
      m_cycleSeconds += seconds;
      m_fastestCycle = std::min(m_fastestCycle, seconds);
    }
    if (m_phase >= 2 && !cycles) {
      m_fastestKernel[m_variant] = std::min(m_fastestKernel[m_variant], seconds);
      ++m_kernelPhases[m_variant];
    }
    if (!cycles) m_variant = (m_variant + 1) % m_variants.size();
    ++m_phase;
    const bool enough = std::all_of(m_kernelPhases.begin(), m_kernelPhases.end(),
                                    [](int phases) { return phases >= kMinRounds; });
    if (cycles && enough && m_cycleSeconds >= std::chrono::duration<double>(kMinWindow).count()) {
      m_done.store(true, std::memory_order_release);
    }
  }

  const std::int32_t m_method;
  const std::uint64_t m_share;
  const int m_count;
  const double m_iterations;  // per cycle and per kernel phase
  const std::vector<Variant> m_variants;
  std::vector<IMemTest*> m_workers;  // made before they start
  std::vector<HookContext> m_hooks;
  std::vector<std::unique_ptr<Kernel>> m_kernels;
  Barrier<Completion> m_barrier;
  std::atomic<bool> m_done{false};

  // Written in PhaseEnded only, read by the hooks after the barrier and by Measure
  // after the workers are released.
  Clock::time_point m_phaseStart;
  int m_phase = 0;
  std::size_t m_variant = 0;
  double m_cycleSeconds = 0;  // all measured cycle phases together
  double m_fastestCycle = std::numeric_limits<double>::infinity();
  std::vector<double> m_fastestKernel =
      std::vector<double>(m_variants.size(), std::numeric_limits<double>::infinity());
  std::vector<int> m_kernelPhases = std::vector<int>(m_variants.size());
};

constexpr const char* kMethodNames[] = {"random", "shuffling", "sweeping"};

}  // namespace

// Measures the methods named on the command line, or all of them.
int main(int argc, char** argv) {
  std::vector<std::int32_t> methods;
  for (int arg = 1; arg < argc; ++arg) {
    const auto named =
        std::find_if(std::begin(kMethodNames), std::end(kMethodNames),
                     [&](const char* name) { return std::strcmp(name, argv[arg]) == 0; });
    if (named == std::end(kMethodNames)) {
      std::fprintf(stderr, "usage: engine_throughput [random|shuffling|sweeping]...\n");
      return 2;
    }
    methods.push_back(static_cast<std::int32_t>(named - std::begin(kMethodNames)));
  }
  if (methods.empty()) methods = {kMemTestRandom, kMemTestShuffle, kMemTestSweep};

  std::vector<std::uint64_t> shares = {64ull << 20, 1ull << 30};
  // Two workers of 4 GiB each, with room to spare.
  if (GetPhysicalMemoryMb() >= 2 * 4096 + 2048) shares.push_back(4ull << 30);

  std::printf("%-9s %7s  %8s %8s %6s  %8s %8s %6s   (M iterations/s)\n", "method", "share",
              "worker", "kernel", "ratio", "2 worker", "2 kernel", "ratio");
  for (const std::uint64_t share : shares) {
    for (const std::int32_t method : methods) {
      const Rates one = SideBySide(method, share, 1).Measure();
      const Rates two = SideBySide(method, share, 2).Measure();
      const auto ratio = [](const Rates& rates) {
        return rates.kernels > 0 ? rates.workers / rates.kernels : 0.0;
      };
      std::printf("%-9s %4llu MB  %8.1f %8.1f %6.2f  %8.1f %8.1f %6.2f\n", kMethodNames[method],
                  static_cast<unsigned long long>(share >> 20), one.workers / 1e6,
                  one.kernels / 1e6, ratio(one), two.workers / 1e6, two.kernels / 1e6, ratio(two));
      std::fflush(stdout);
    }
  }
  return 0;
}
