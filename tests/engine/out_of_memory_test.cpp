// When no memory is left for an error record, the record is dropped but counted, its bits
// still join the fail mask, and the queue keeps working once memory is back.
//
// This executable replaces the global allocator so that allocations fail on demand, on
// one thread only.

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>

#include "worker_support.h"

// GCC sees new-expressions end in free() once these replacements are inlined, and warns;
// here new and delete are both ours and do pair.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"

namespace {

thread_local bool t_failAllocations = false;

void* Allocate(std::size_t size) {
  if (t_failAllocations) return nullptr;
  return std::malloc(size == 0 ? 1 : size);
}

}  // namespace

void* operator new(std::size_t size) {
  if (void* memory = Allocate(size)) return memory;
  throw std::bad_alloc();
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  return Allocate(size);
}
void operator delete(void* memory) noexcept {
  std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept {
  std::free(memory);
}

namespace {

using namespace test_support;

// On the worker's thread: plants a fault while allocations fail, lets memory come back
// once it has been found, then plants a second fault.
struct Planter {
  static constexpr std::uint64_t kLostBits = 0x0000000000000F00;
  static constexpr std::uint64_t kKeptBits = 0x0000000000F00000;
  int step = 0;
  std::uint64_t keptFirst = 0;
  std::atomic<bool> done{false};

  static void Hook(void* self, volatile std::uint64_t* a, volatile std::uint64_t* b,
                   std::uint64_t) {
    auto& planter = *static_cast<Planter*>(self);
    switch (planter.step) {
      case 0:
        t_failAllocations = true;
        b[11] = a[11] ^ kLostBits;
        planter.step = 1;
        break;
      case 1:
        if (a[11] != b[11]) return;
        t_failAllocations = false;
        planter.keptFirst = a[22];
        b[22] = a[22] ^ kKeptBits;
        planter.step = 2;
        break;
      case 2:
        if (a[22] != b[22]) return;
        planter.step = 3;
        planter.done.store(true, std::memory_order_release);
        break;
    }
  }
};

TEST(OutOfMemory, ARecordWithoutMemoryIsCountedAndStillMarksValues) {
  for (const std::int32_t method : {kMemTestRandom, kMemTestShuffle}) {
    Planter planter;
    const std::uint64_t lostBefore = g_lostErrorRecords.load();
    Worker worker = MakeWorker(method);
    Impl(worker).SetCycleHook(&Planter::Hook, &planter);
    ASSERT_EQ(worker->Start(kShare16MiB, 0, false), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return planter.done.load(std::memory_order_acquire); }));

    EXPECT_EQ(g_lostErrorRecords.load(), lostBefore + 1) << "method " << method;
    EXPECT_EQ(g_failMask.load() & Planter::kLostBits, Planter::kLostBits);
    MemTestError record{};
    ASSERT_TRUE(worker->GetNextError(record)) << "the queue lost its later record";
    EXPECT_EQ(record.first, planter.keptFirst);
    EXPECT_EQ(record.first ^ record.second, Planter::kKeptBits);
    EXPECT_FALSE(worker->GetNextError(record));
  }
}

}  // namespace
