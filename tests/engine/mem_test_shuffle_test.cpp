#include "engine/mem_test_shuffle.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "random/mt19937.h"

namespace {

struct Deleter {
  void operator()(IMemTest* worker) const { worker->Release(); }
  void operator()(IRandom* source) const { source->Release(); }
};
using Worker = std::unique_ptr<CMemTestShuffle, Deleter>;

TEST(ShuffleBlocks, CountIs64BelowAQuarterGibibyteAnd256From) {
  Worker worker(new CMemTestShuffle);
  ASSERT_EQ(worker->PrepareBlocks(0x0FFFFFFF, 1), S_OK);
  EXPECT_EQ(worker->BlockTable().size(), 64u);
  ASSERT_EQ(worker->PrepareBlocks(0x10000000, 1), S_OK);
  EXPECT_EQ(worker->BlockTable().size(), 256u);

  EXPECT_EQ(IMemTestImpl::CycleIterationsFor(0x0FFFFFFF), 0x100000u);
  EXPECT_EQ(IMemTestImpl::CycleIterationsFor(0x10000000), 0x800000u);
}

TEST(ShuffleBlocks, TableIsTheInsideOutShuffleOfEveryBlockStart) {
  constexpr std::uint64_t kSeed = 0xC0FFEE;
  constexpr std::uint64_t kStride = 0x10000000 / (256 * 16);
  Worker worker(new CMemTestShuffle);
  ASSERT_EQ(worker->PrepareBlocks(0x10000000, kSeed), S_OK);

  // The same shuffle, drawn from a generator of our own with the same seed.
  std::unique_ptr<CMT19937, Deleter> source(new CMT19937);
  source->Seed(kSeed);
  std::vector<std::uint64_t> expected{0};
  for (std::uint64_t i = 1; i < 256; ++i) {
    expected.push_back(i * kStride);
    std::swap(expected[i], expected[source->GetInt(RandomKind::Int31) % i]);
  }
  EXPECT_EQ(worker->BlockTable(), expected);

  std::vector<std::uint64_t> sorted = worker->BlockTable();
  std::sort(sorted.begin(), sorted.end());
  for (std::uint64_t i = 0; i < 256; ++i) ASSERT_EQ(sorted[i], i * kStride);
}

TEST(ShuffleBlocks, PassesVisitEveryBlockAtOneOffsetThenMoveOn) {
  // 64 MiB: 64 blocks of 65,536 words.
  constexpr std::uint64_t kStride = 65536;
  Worker worker(new CMemTestShuffle);
  ASSERT_EQ(worker->PrepareBlocks(0x4000000, 5), S_OK);
  const std::vector<std::uint64_t> table = worker->BlockTable();

  for (int entry = 63; entry >= 0; --entry) ASSERT_EQ(worker->NextIndex(), table[entry]);
  EXPECT_EQ(worker->NextIndex(), table[63] + 1);

  // After a whole sweep, stride passes, the offset wraps to 0.
  for (std::uint64_t i = 65; i < kStride * 64; ++i) {
    const std::uint64_t index = worker->NextIndex();
    ASSERT_LT(index, kStride * 64);
  }
  EXPECT_EQ(worker->NextIndex(), table[63]);
}

TEST(ShuffleBlocks, AShareTooSmallForOneWordPerBlockIsRefused) {
  Worker worker(new CMemTestShuffle);
  EXPECT_EQ(worker->PrepareBlocks(64 * 16 - 1, 1), E_INVALIDARG);
  EXPECT_EQ(worker->PrepareBlocks(64 * 16, 1), S_OK);
}

}  // namespace
