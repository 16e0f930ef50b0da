#pragma once
// Helpers for tests that run real workers on their own threads.

#include <chrono>
#include <memory>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "engine/mem_test_impl.h"

namespace test_support {

// Releases a worker that a failed assertion would otherwise leave running.
struct WorkerDeleter {
  void operator()(IMemTest* worker) const { worker->Release(); }
};
using Worker = std::unique_ptr<IMemTest, WorkerDeleter>;

// Any method, the companion's sweep too.
inline Worker MakeWorker(std::int32_t method) {
  IMemTest* worker = nullptr;
  if (Failed(CreateCompanionMemTest(method, worker))) return nullptr;
  return Worker(worker);
}

inline std::string MethodTestName(const testing::TestParamInfo<std::int32_t>& info) {
  constexpr const char* kNames[] = {"Random", "Shuffle", "Sweep"};
  return kNames[info.param];
}

inline IMemTestImpl& Impl(const Worker& worker) {
  return static_cast<IMemTestImpl&>(*worker);
}

// Polls until `done` holds. The bound only keeps a broken build from hanging; it is
// generous because sanitizers and Wine run the workers many times slower.
template <class Predicate>
bool WaitUntil(Predicate done) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::minutes(2);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

inline std::int32_t Cycles() {
  return g_cycleCount.load();
}

inline constexpr std::uint64_t kShare16MiB = 16u << 20;

}  // namespace test_support
