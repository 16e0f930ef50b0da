// Faults planted in buffer B of a running worker: each must come out of the error queue,
// in the order found, with the exact words read, and mark every value written after it.

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <vector>

#include "worker_support.h"

namespace {

using namespace test_support;

struct PlantedFault {
  std::uint64_t index;
  std::uint64_t bits;
};

// Runs on the worker's thread after each cycle. Plants the next fault only once the
// previous one has been found (its word rewritten, A equal to B again), so the order of
// the records is known. Once all are found it snapshots buffer A, and a cycle later
// checks that every word rewritten since carries the bits of every fault.
class FaultPlanter {
 public:
  explicit FaultPlanter(std::vector<PlantedFault> faults) : m_faults(std::move(faults)) {
    for (const PlantedFault& fault : m_faults) m_allBits |= fault.bits;
  }

  static void Hook(void* self, volatile std::uint64_t* a, volatile std::uint64_t* b,
                   std::uint64_t words) {
    static_cast<FaultPlanter*>(self)->AfterCycle(a, b, words);
  }

  bool Done() const { return m_done.load(std::memory_order_acquire); }
  // Readable once Done().
  const std::vector<MemTestError>& Expected() const { return m_expected; }
  std::uint64_t Rewritten() const { return m_rewritten; }
  std::uint64_t Unmarked() const { return m_unmarked; }
  std::uint64_t AllBits() const { return m_allBits; }

 private:
  void AfterCycle(volatile std::uint64_t* a, volatile std::uint64_t* b, std::uint64_t words) {
    if (m_done.load(std::memory_order_relaxed)) return;
    if (m_pending && a[*m_pending] != b[*m_pending]) return;  // not found yet
    if (m_next < m_faults.size()) {
      const PlantedFault& fault = m_faults[m_next++];
      const std::uint64_t first = a[fault.index];
      m_expected.push_back({first, first ^ fault.bits});
      b[fault.index] = first ^ fault.bits;
      m_pending = fault.index;
      return;
    }
    if (m_snapshot.empty()) {
      m_snapshot.assign(a, a + words);
      return;
    }
    for (std::uint64_t w = 0; w < words; ++w) {
      if (a[w] == m_snapshot[w]) continue;
      ++m_rewritten;
      if ((a[w] & m_allBits) != m_allBits) ++m_unmarked;
    }
    m_done.store(true, std::memory_order_release);
  }

  const std::vector<PlantedFault> m_faults;
  std::uint64_t m_allBits = 0;
  std::size_t m_next = 0;
  std::optional<std::uint64_t> m_pending;
  std::vector<MemTestError> m_expected;
  std::vector<std::uint64_t> m_snapshot;
  std::uint64_t m_rewritten = 0;
  std::uint64_t m_unmarked = 0;
  std::atomic<bool> m_done{false};
};

class FaultsInEachMethod : public testing::TestWithParam<std::int32_t> {};

TEST_P(FaultsInEachMethod, AreQueuedInOrderWithTheWordsReadAndMarkLaterValues) {
  constexpr std::uint64_t kWords = kShare16MiB / 16;
  // Bits of their own per method: the mask of the process keeps every earlier fault.
  const int shift = GetParam() * 4;
  FaultPlanter planter({{7, 0x1ull << shift},
                        {kWords - 1, 0x8000000000000000ull >> shift},
                        {kWords / 2, 0x00F0000000000000ull >> shift}});
  const std::uint64_t lostBefore = g_lostErrorRecords.load();

  Worker worker = MakeWorker(GetParam());
  Impl(worker).SetCycleHook(&FaultPlanter::Hook, &planter);
  ASSERT_EQ(worker->Start(kShare16MiB, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return planter.Done(); }));

  std::vector<MemTestError> found;
  for (MemTestError record; worker->GetNextError(record);) found.push_back(record);
  ASSERT_EQ(found.size(), planter.Expected().size());
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].first, planter.Expected()[i].first) << "record " << i;
    EXPECT_EQ(found[i].second, planter.Expected()[i].second) << "record " << i;
  }
  EXPECT_EQ(g_failMask.load() & planter.AllBits(), planter.AllBits());
  EXPECT_GT(planter.Rewritten(), 0u);
  EXPECT_EQ(planter.Unmarked(), 0u) << "values written after a fault lack its bits";
  EXPECT_EQ(g_lostErrorRecords.load(), lostBefore);
}

INSTANTIATE_TEST_SUITE_P(Methods, FaultsInEachMethod,
                         testing::Values(kMemTestRandom, kMemTestShuffle, kMemTestSweep),
                         MethodTestName);

// Words past the last whole block are never visited: they keep the fill value.
TEST(FaultsInShuffle, WordsBeyondTheBlocksKeepTheFillValue) {
  struct Tail {
    std::uint64_t blockWords = 0;
    std::atomic<int> checked{-1};  // -1 not yet, else the number of words that kept 0x55
    static void Hook(void* self, volatile std::uint64_t* a, volatile std::uint64_t* b,
                     std::uint64_t words) {
      auto& tail = *static_cast<Tail*>(self);
      if (tail.checked.load() >= 0) return;
      int kept = 0;
      for (std::uint64_t w = tail.blockWords; w < words; ++w) kept += a[w] == 0x55 && b[w] == 0x55;
      tail.checked.store(kept);
    }
  } tail;
  // Five words more than 64 blocks of 16,384 words.
  tail.blockWords = kShare16MiB / 16;
  Worker worker = MakeWorker(kMemTestShuffle);
  Impl(worker).SetCycleHook(&Tail::Hook, &tail);
  ASSERT_EQ(worker->Start(kShare16MiB + 5 * 16, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return tail.checked.load() >= 0; }));
  EXPECT_EQ(tail.checked.load(), 5);
}

}  // namespace

// A bit of A held at 1 and a flipped bit of B further on, planted before one pass: the
// sweep reports them in address order with the words read, though the flip was planted
// first; the held bit then marks every value and is never reported again.
TEST(FaultsInSweep, AStuckBitAndAFlipComeOutInAddressOrder) {
  struct Plants {
    const std::uint64_t flipped = 900'000;
    std::uint64_t stuckBit = 0;
    std::uint64_t flipBit = 0;
    std::uint64_t stuck = 0;  // index of the word with the held bit; 0 until planted
    std::vector<MemTestError> expected;
    int cyclesHeld = 0;
    std::atomic<bool> done{false};

    static void Hook(void* self, volatile std::uint64_t* a, volatile std::uint64_t* b,
                     std::uint64_t) {
      static_cast<Plants*>(self)->AfterCycle(a, b);
    }
    void AfterCycle(volatile std::uint64_t* a, volatile std::uint64_t* b) {
      if (done.load()) return;
      if (stuck == 0) {
        const std::uint64_t mask = g_failMask.load();
        stuckBit = ~mask & (mask + 1);
        flipBit = ~(mask | stuckBit) & ((mask | stuckBit) + 1);
        expected.push_back({a[flipped], b[flipped] ^ flipBit});
        b[flipped] = b[flipped] ^ flipBit;
        // The first word from 1000 on that the held bit changes.
        for (stuck = 1000; (a[stuck] & stuckBit) != 0; ++stuck) {
        }
        expected.insert(expected.begin(), {a[stuck] | stuckBit, b[stuck]});
      }
      a[stuck] = a[stuck] | stuckBit;
      if (++cyclesHeld == 3) done.store(true);
    }
  } plants;

  // One cycle is one pass, from word 0.
  Worker worker = MakeWorker(kMemTestSweep);
  Impl(worker).SetCycleHook(&Plants::Hook, &plants);
  ASSERT_EQ(worker->Start(kShare16MiB, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return plants.done.load(); }));

  ASSERT_NE(plants.flipBit, 0u) << "no free bit left in the mask";
  std::vector<MemTestError> found;
  for (MemTestError record; worker->GetNextError(record);) found.push_back(record);
  ASSERT_EQ(found.size(), 2u);
  for (std::size_t i = 0; i < found.size(); ++i) {
    EXPECT_EQ(found[i].first, plants.expected[i].first) << "record " << i;
    EXPECT_EQ(found[i].second, plants.expected[i].second) << "record " << i;
  }
}
