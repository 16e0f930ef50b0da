// Iterations per second of one worker of each method, for a small and a larger share.
// Build and run: cmake --build --preset native --target engine_throughput &&
//                build/native/bench/engine_throughput

#include <chrono>
#include <cstdio>
#include <thread>

#include "engine/engine_state.h"
#include "engine/mem_test.h"

int main() {
  using namespace std::chrono;
  for (const std::int32_t method : {kMemTestRandom, kMemTestShuffle}) {
    for (const unsigned long long megabytes : {64ull, 512ull}) {
      IMemTest* worker = nullptr;
      if (Failed(CreateMemTest(method, worker))) return 1;
      g_cycleCount = 0;
      if (Failed(worker->Start(megabytes << 20, 0, false))) return 1;
      // The first cycle includes committing and filling the buffers: measure after it.
      while (g_cycleCount.load() < 1) std::this_thread::sleep_for(milliseconds(1));
      const std::int32_t firstCycles = g_cycleCount;
      const auto start = steady_clock::now();
      std::this_thread::sleep_for(seconds(3));
      const std::int32_t cycles = g_cycleCount - firstCycles;
      const double elapsed = duration<double>(steady_clock::now() - start).count();
      const double iterations = static_cast<double>(cycles) * g_cycleIterations.load();
      std::printf("%-9s %4llu MB: %6.1f M iterations/s, %5.2f GB/s checked\n",
                  method == kMemTestRandom ? "random" : "shuffling", megabytes,
                  iterations / elapsed / 1e6, iterations * 16 / elapsed / 1e9);
      worker->Release();
    }
  }
  return 0;
}
