// The status tick: draining errors into the count, the log and the alarm; the status
// shown on the panel and the tray; both limits; workers that fail; the idle refresh.

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "controller_fixture.h"
#include "diag/format.h"
#include "probed_worker.h"

namespace {

using namespace test_support;

// On the worker's thread: plants `count` faults, each once the one before has been found,
// so they are queued in planting order; once all are found it holds the worker between two
// cycles until released, so the cycle count stays put while a tick drains and logs them.
class FaultBatch {
 public:
  explicit FaultBatch(int count) : m_count(count) {}

  static void Hook(void* self, volatile std::uint64_t* a, volatile std::uint64_t* b,
                   std::uint64_t) {
    static_cast<FaultBatch*>(self)->AfterCycle(a, b);
  }
  CTestRunController::WorkerFactory Factory() {
    return [this](std::int32_t method, IMemTest*& out) {
      const HRESULT result = CreateMemTest(method, out);
      static_cast<IMemTestImpl*>(out)->SetCycleHook(&Hook, this);
      return result;
    };
  }
  bool Found() const { return m_found.load(std::memory_order_acquire); }
  void Resume() { m_resume.store(true); }
  // Readable once Found().
  const std::vector<MemTestError>& Expected() const { return m_expected; }

 private:
  static std::uint64_t Index(std::size_t fault) { return 1000 + 7919 * fault; }

  void AfterCycle(volatile std::uint64_t* a, volatile std::uint64_t* b) {
    if (m_resume.load()) return;
    const std::size_t planted = m_expected.size();
    if (planted > 0 && a[Index(planted - 1)] != b[Index(planted - 1)]) return;  // not found yet
    if (planted < static_cast<std::size_t>(m_count)) {
      const std::uint64_t first = a[Index(planted)];
      const std::uint64_t bits = 0x0100000000000000ull << planted;
      m_expected.push_back({first, first ^ bits});
      b[Index(planted)] = first ^ bits;
      return;
    }
    m_found.store(true, std::memory_order_release);
    while (!m_resume.load()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }

  const int m_count;
  std::vector<MemTestError> m_expected;
  std::atomic<bool> m_found{false};
  std::atomic<bool> m_resume{false};
};

std::string ErrorEntry(int number, int cycles, const MemTestError& error, const char* time) {
  // 16 MiB cycles of 2^20 iterations: 10 percent checked per cycle.
  return Format("Error %i, out of %i cycles, (%i%% checked) - %p vs %p (%p), %s\r\n", number,
                cycles, cycles * 10, error.first, error.second, error.first ^ error.second, time);
}

TEST_F(ControllerTest, ThreeRecordsInOneTickAllCountLogAndBeepBeforeTheErrorsLimitStops) {
  FaultBatch faults(3);
  UseFactory(faults.Factory());
  panel.texts[IDC_ERRORS_LIMIT] = "1";
  panel.checks[IDC_ALARM_ON_ERROR] = true;
  controller->flashOnError = true;
  panel.localTime = kRunStart;
  ASSERT_TRUE(StartRun());
  ASSERT_TRUE(WaitUntil([&] { return faults.Found(); }));

  const std::int32_t cycles = g_cycleCount;
  panel.localTime.second = 30;
  Tick();
  faults.Resume();
  EXPECT_EQ(controller->errorsFound(), 3u);
  EXPECT_EQ(panel.beeps, 3);
  EXPECT_EQ(panel.flashes, 3);
  EXPECT_EQ(panel.posted, std::deque<std::uint32_t>{STOP_ERRORS_LIMIT << 16 | ID_TEST_END});

  panel.localTime.second = 31;
  Pump();
  std::string expected =
      "Started 10:00:00\r\n"
      "memory: 16 of 3000 Mb, method: 1, priority: above, work threads: 1, errstop: 1, "
      "hrsstop: 0\r\n";
  for (int i = 0; i < 3; ++i)
    expected += ErrorEntry(i + 1, cycles, faults.Expected()[i], "10:00:30");
  expected += "Finished 10:00:31 (reason: errors limit was exceeded)\r\n";
  EXPECT_EQ(Log(), expected);
  EXPECT_EQ(panel.caption, "Sieveline: 3 errors ");
}

TEST_F(ControllerTest, TheAlarmBeepsWithoutFlashingUnlessFlashingIsOn) {
  FaultBatch faults(1);
  UseFactory(faults.Factory());
  panel.checks = {{IDC_ALARM_ON_ERROR, true}};
  ASSERT_TRUE(StartRun());
  ASSERT_TRUE(WaitUntil([&] { return faults.Found(); }));
  Tick();
  faults.Resume();
  EXPECT_EQ(controller->errorsFound(), 1u);
  EXPECT_EQ(panel.beeps, 1);
  EXPECT_EQ(panel.flashes, 0);
  EXPECT_TRUE(panel.posted.empty()) << "no errors limit";
  controller->EndRunForExit();
}

TEST_F(ControllerTest, BothLimitsInOneTickEndTheRunOnce) {
  FaultBatch faults(1);
  UseFactory(faults.Factory());
  panel.texts[IDC_ERRORS_LIMIT] = "1";
  panel.texts[IDC_HOURS_LIMIT] = "1";
  panel.visible = false;
  ASSERT_TRUE(StartRun());
  ASSERT_TRUE(WaitUntil([&] { return faults.Found(); }));
  panel.calendar += 3600;
  Tick();
  faults.Resume();
  EXPECT_EQ(panel.posted.size(), 1u) << "the time limit's request comes second and is ignored";
  Pump();
  controller->EndTest(STOP_TIME_LIMIT);  // a stray second end finds no run
  EXPECT_EQ(panel.balloons.size(), 1u);
  EXPECT_EQ(panel.balloons[0].icon, BalloonIcon::Error);
  EXPECT_EQ(
      panel.balloons[0].text.rfind("Test stopped (errors limit was exceeded)\nErrors: 1\n", 0), 0u);
  const std::string log = Log();
  EXPECT_EQ(log.find("Finished"), log.rfind("Finished")) << log;
}

TEST_F(ControllerTest, TheTimeLimitStopsAtTheFirstTickPastIt) {
  panel.texts[IDC_HOURS_LIMIT] = "1";
  ASSERT_TRUE(StartRun());
  panel.calendar += 3599;
  Tick();
  EXPECT_TRUE(panel.posted.empty());
  panel.calendar += 1;
  Tick();
  EXPECT_EQ(panel.posted, std::deque<std::uint32_t>{STOP_TIME_LIMIT << 16 | ID_TEST_END});
  Pump();
  EXPECT_NE(Log().find("Finished 10:00:00 (reason: time limit was exceeded)\r\n"),
            std::string::npos);
}

TEST_F(ControllerTest, ShownStatusSpinsAndTheTrayAlternatesEverySecondTick) {
  panel.checks = {};
  controller->OnShowWindow(true);
  ASSERT_TRUE(StartRun());
  // 26 h 5 min 3 s: days are not shown.
  panel.calendar += 26 * 3600 + 5 * 60 + 3;

  const char* spinners[] = {":.", "::", ".:", ".."};
  for (int tick = 0; tick < 4; ++tick) {
    const std::size_t tips = panel.trayTips.size();
    Tick();
    EXPECT_EQ(panel.caption, std::string("Sieveline: 0 errors ") + spinners[tick]) << tick;
    // The tray follows on the ticks that start at an even phase.
    EXPECT_EQ(panel.trayTips.size(), tips + (tick % 2 == 0)) << tick;
  }
  EXPECT_EQ(panel.trayIcons, (std::vector<TrayIcon>{TrayIcon::Busy, TrayIcon::Normal}));
  const std::string tip = panel.trayTips.back();
  EXPECT_EQ(tip.rfind("Sieveline\nErrors: 0\nCycles: ", 0), 0u) << tip;
  EXPECT_EQ(tip.back(), '%');
  EXPECT_EQ(panel.texts[IDC_TIME_ELAPSED], "02:05:03");
  EXPECT_GT(panel.numbers[IDC_CYCLES], 0u);
  EXPECT_EQ(panel.numbers[IDC_ERRORS_FOUND], 0u);

  // Within the second nothing is refreshed.
  const std::string caption = panel.caption;
  Tick(500);
  EXPECT_EQ(panel.caption, caption);

  // Hidden: the caption stands still, and the tray, the only status left in view, is
  // refreshed on every tick.
  controller->OnShowWindow(false);
  const std::size_t tips = panel.trayTips.size();
  Tick();
  Tick();
  EXPECT_EQ(panel.caption, caption);
  EXPECT_EQ(panel.trayTips.size(), tips + 2);
  controller->EndRunForExit();
}

TEST_F(ControllerTest, TheCheckedFieldShowsAtMostTheLargestUnsigned32BitNumber) {
  panel.checks = {};
  controller->OnShowWindow(true);
  ASSERT_TRUE(StartRun());
  // 16 MiB in cycles of 2^20 iterations: a billion cycles are 10^10 percent.
  g_cycleCount = 1'000'000'000;
  Tick();
  EXPECT_EQ(panel.numbers[IDC_CHECKED], 4294967295u);
  controller->EndRunForExit();
}

TEST_F(ControllerTest, TheTickKeepsItsCadenceWhereA32BitTickCountWraps) {
  panel.checks = {};
  controller->OnShowWindow(true);
  panel.tick = 0xFFFFFFFFull - 1500;
  ASSERT_TRUE(StartRun());
  for (int tick = 0; tick < 4; ++tick) {
    const std::string caption = panel.caption;
    Tick(1001);
    EXPECT_NE(panel.caption, caption) << "stalled at tick " << tick << ", now " << panel.tick;
    const std::string refreshed = panel.caption;
    Tick(500);
    EXPECT_EQ(panel.caption, refreshed) << "refreshed early at tick " << tick;
  }
  EXPECT_GT(panel.tick, 0x100000000ull);
  controller->EndRunForExit();
}

TEST_F(ControllerTest, NoStatusBeforeTheFirstCycleEnds) {
  panel.checks = {};
  controller->OnShowWindow(true);
  controller->cycleDelayMs = 0;
  ASSERT_TRUE(controller->StartTest());
  Pump();
  const std::int32_t cycles = g_cycleCount;
  g_cycleCount = 0;  // as if no worker had finished a cycle yet
  Tick();
  EXPECT_EQ(panel.caption, "Sieveline: initializing...");
  EXPECT_TRUE(panel.trayIcons.empty());
  g_cycleCount += cycles + 1;
  Tick(1);  // the wait for the first cycle set no due time
  EXPECT_EQ(panel.caption, "Sieveline: 0 errors :.");
  controller->EndRunForExit();
}

TEST_F(ControllerTest, WorkersThatFailLaterAreLoggedAndARunLeftWithoutOneStops) {
  WorkerProbe probes[2];
  int made = 0;
  UseFactory([&](std::int32_t method, IMemTest*& out) {
    probes[made].starveMemory = true;
    out = MakeProbedWorker(method, probes[made++]);
    return S_OK;
  });
  panel.selections[IDC_THREADS_LIST] = 1;
  panel.localTime = kRunStart;
  ASSERT_TRUE(controller->StartTest());
  Pump();
  ASSERT_TRUE(controller->running());
  // Both workers end without memory before the tick looks.
  ASSERT_TRUE(WaitUntil([&] { return WorkerFailed(probes[0]) && WorkerFailed(probes[1]); }));
  Tick();
  EXPECT_EQ(panel.posted, std::deque<std::uint32_t>{STOP_NO_TEST_MEMORY << 16 | ID_TEST_END});
  Pump();
  ASSERT_EQ(panel.balloons.size(), 1u) << "shown although the panel is in view";
  EXPECT_EQ(panel.balloons[0].text,
            "Test stopped (test memory could not be allocated)\nErrors: 0\nCycles: 0\nChecked: 0%");
  EXPECT_EQ(Log(),
            "Started 10:00:00\r\n"
            "memory: 16 of 3000 Mb, method: 1, priority: above, work threads: 2, errstop: 0, "
            "hrsstop: 0\r\n"
            "**Warning: 0 work thread(s) of 2 started\r\n"
            "Finished 10:00:00 (reason: test memory could not be allocated)\r\n");
}

TEST_F(ControllerTest, AWorkerThatFailsLaterLeavesTheOthersTesting) {
  WorkerProbe probes[2];
  int made = 0;
  UseFactory([&](std::int32_t method, IMemTest*& out) {
    probes[made].starveMemory = made == 1;
    out = MakeProbedWorker(method, probes[made++]);
    return S_OK;
  });
  panel.selections[IDC_THREADS_LIST] = 1;
  panel.localTime = kRunStart;
  ASSERT_TRUE(StartRun());
  ASSERT_TRUE(WaitUntil([&] { return WorkerFailed(probes[1]); }));
  Tick();
  Tick();
  EXPECT_TRUE(panel.posted.empty());
  EXPECT_TRUE(controller->running());
  EXPECT_NE(Log().find("**Warning: 1 work thread(s) of 2 started\r\n"), std::string::npos);
  EXPECT_EQ(Log().find("Warning"), Log().rfind("Warning")) << "logged once";
  controller->EndRunForExit();
}

TEST_F(ControllerTest, TheIdleTickRefreshesAvailableMemoryEveryFourSeconds) {
  controller->params.memAvailableMb = 3000;
  panel.texts[IDC_MEM_TO_TEST] = "2900";
  panel.availableMb = 2500;
  Tick();
  EXPECT_EQ(panel.texts[IDC_MEM_AVAILABLE], "2500");
  EXPECT_EQ(panel.texts[IDC_MEM_TO_TEST], "2500");
  EXPECT_EQ(controller->params.memToTestMb, 2500u);
  EXPECT_EQ(panel.spinLow, 16u);
  EXPECT_EQ(panel.spinHigh, 2500u);

  panel.availableMb = 2600;
  Tick(3999);
  EXPECT_EQ(panel.texts[IDC_MEM_AVAILABLE], "2500") << "not yet four seconds";
  Tick(2);
  EXPECT_EQ(panel.texts[IDC_MEM_AVAILABLE], "2600");
  EXPECT_EQ(panel.texts[IDC_MEM_TO_TEST], "2500") << "below what is available: kept";
  EXPECT_EQ(panel.spinHigh, 2600u);
}

}  // namespace
