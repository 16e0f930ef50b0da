// Workers on real threads: lifecycle, stopping, and failures the controller must see.

#include <gtest/gtest.h>

#include "engine/mem_test_random.h"
#include "worker_support.h"

namespace {

using namespace test_support;

TEST(CreateMemTest, RefusesUnknownMethods) {
  int placeholder = 0;
  for (const std::int32_t method : {-1, 2}) {
    auto* worker = reinterpret_cast<IMemTest*>(&placeholder);
    EXPECT_EQ(CreateMemTest(method, worker), E_INVALIDARG);
    EXPECT_EQ(worker, nullptr);
  }
}

TEST(Worker, AnIdleWorkerHasNoErrorsAndReleasesAtOnce) {
  Worker worker = MakeWorker(kMemTestShuffle);
  ASSERT_TRUE(worker);
  EXPECT_EQ(worker->GetStatus().state, MemTestState::Idle);
  MemTestError record{1, 2};
  EXPECT_FALSE(worker->GetNextError(record));
  EXPECT_EQ(record.first, 1u);
  EXPECT_EQ(record.second, 2u);
}

TEST(Worker, ACycleEnteredWithNoIterationsIsNotCounted) {
  g_cycleIterations = 0;
  const std::int32_t before = Cycles();
  for (const std::int32_t method : {kMemTestRandom, kMemTestShuffle, kMemTestSweep}) {
    Worker worker = MakeWorker(method);
    EXPECT_EQ(worker->RunCycle(), S_OK);
  }
  EXPECT_EQ(Cycles(), before);
}

class WorkerOfEachMethod : public testing::TestWithParam<std::int32_t> {};

TEST_P(WorkerOfEachMethod, RunsCyclesUntilReleased) {
  Worker worker = MakeWorker(GetParam());
  const std::int32_t before = Cycles();
  ASSERT_EQ(worker->Start(kShare16MiB, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return Cycles() >= before + 3; }));
  EXPECT_EQ(worker->GetStatus().state, MemTestState::Testing);
  EXPECT_EQ(g_cycleIterations.load(), 0x100000u);
  worker.reset();
  EXPECT_EQ(g_cycleIterations.load(), 0u);
  // A released worker adds nothing more.
  const std::int32_t after = Cycles();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(Cycles(), after);
}

TEST_P(WorkerOfEachMethod, TheLongestPauseDoesNotHoldUpRelease) {
  Worker worker = MakeWorker(GetParam());
  const std::int32_t before = Cycles();
  ASSERT_EQ(worker->Start(kShare16MiB, 0xFFFFFFFF, true), S_OK);
  EXPECT_EQ(g_cycleDelayMs.load(), 0xFFFFFFFFu);
  ASSERT_TRUE(WaitUntil([&] { return Cycles() == before + 1; }));
  // Now pausing for 49.7 days; Release must end it (a hang fails the test by timeout).
  worker.reset();
  EXPECT_EQ(Cycles(), before + 1);
  g_cycleDelayMs = 0;
}

TEST_P(WorkerOfEachMethod, ReleaseRightAfterStartDoesNotHangOrLeak) {
  for (int i = 0; i < 5; ++i) {
    Worker worker = MakeWorker(GetParam());
    ASSERT_EQ(worker->Start(kShare16MiB, 0, false), S_OK);
  }
}

TEST_P(WorkerOfEachMethod, AShareTooSmallForBuffersFailsVisiblyWithoutCycles) {
  Worker worker = MakeWorker(GetParam());
  const std::int32_t before = Cycles();
  ASSERT_EQ(worker->Start(8, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return worker->GetStatus().state == MemTestState::Failed; }));
  // No words to allocate: an invalid parameter to the system's page allocator, or the
  // method's own refusal of a share without a word.
  EXPECT_EQ(worker->GetStatus().result, E_INVALIDARG);
  EXPECT_EQ(Cycles(), before);
  MemTestError record;
  EXPECT_FALSE(worker->GetNextError(record));
}

INSTANTIATE_TEST_SUITE_P(Methods, WorkerOfEachMethod,
                         testing::Values(kMemTestRandom, kMemTestShuffle, kMemTestSweep),
                         MethodTestName);

TEST(Worker, BuffersTheSystemCannotGiveFailTheWorkerWithTheSystemsError) {
  Worker worker = MakeWorker(kMemTestRandom);
  // 512 TiB per buffer: more than the address space holds.
  ASSERT_EQ(worker->Start(1ull << 50, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return worker->GetStatus().state == MemTestState::Failed; }));
  const HRESULT result = worker->GetStatus().result;
  EXPECT_TRUE(Failed(result));
  EXPECT_EQ(static_cast<std::uint32_t>(result) & 0xFFFF0000u, 0x80070000u);
}

TEST(Worker, ReleasingAFailedWorkerLeavesTheOthersCycling) {
  Worker healthy = MakeWorker(kMemTestShuffle);
  Worker failed = MakeWorker(kMemTestRandom);
  const std::int32_t before = Cycles();
  ASSERT_EQ(healthy->Start(kShare16MiB, 0, false), S_OK);
  ASSERT_EQ(failed->Start(0, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] { return failed->GetStatus().state == MemTestState::Failed; }));
  ASSERT_TRUE(WaitUntil([&] { return Cycles() >= before + 1; }));

  failed.reset();
  EXPECT_EQ(g_cycleIterations.load(), 0x100000u);
  const std::int32_t running = Cycles();
  EXPECT_TRUE(WaitUntil([&] { return Cycles() > running; }));
  EXPECT_EQ(healthy->GetStatus().state, MemTestState::Testing);
}

TEST(Worker, ReleasingOneWorkerEndsTheCyclesOfAll) {
  Worker first = MakeWorker(kMemTestRandom);
  Worker second = MakeWorker(kMemTestShuffle);
  const std::int32_t before = Cycles();
  ASSERT_EQ(first->Start(kShare16MiB, 0, false), S_OK);
  ASSERT_EQ(second->Start(kShare16MiB, 0, false), S_OK);
  ASSERT_TRUE(WaitUntil([&] {
    return first->GetStatus().state == MemTestState::Testing &&
           second->GetStatus().state == MemTestState::Testing && Cycles() >= before + 2;
  }));

  second.reset();
  // The first worker now runs empty cycles until its own release; none of them counts.
  const std::int32_t stopped = Cycles();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_LE(Cycles(), stopped + 1) << "at most the cycle that was running when it was cut";
  first.reset();
}

}  // namespace
