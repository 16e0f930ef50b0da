// Starting and ending runs: the checks of Start, the begin and end halves, captions, tray
// texts and balloons, and runs whose workers do not all start.

#include <gtest/gtest.h>

#include "controller_fixture.h"
#include "probed_worker.h"

namespace {

using namespace test_support;

constexpr char kInvalidField[] =
    "Focused control has invalid value. Please correct and start again.";

TEST_F(ControllerTest, StartRejectsTheFirstInvalidFieldInReadingOrder) {
  struct Case {
    int control;
    const char* text;  // nullptr: select `selection` in the list, -1 for none
    std::int32_t selection = -1;
  };
  // The last two are entries that a language module may list beyond those the program knows.
  const Case cases[] = {
      {IDC_MEM_AVAILABLE, "n/a"},     {IDC_MEM_TOTAL, ""},          {IDC_MEM_TO_TEST, "15"},
      {IDC_MEM_TO_TEST, "3001"},      {IDC_MEM_TO_TEST, ""},        {IDC_ERRORS_LIMIT, "101"},
      {IDC_ERRORS_LIMIT, "-1"},       {IDC_HOURS_LIMIT, "101"},     {IDC_METHOD_LIST, nullptr},
      {IDC_THREADS_LIST, nullptr},    {IDC_PRIORITY_LIST, nullptr}, {IDC_METHOD_LIST, nullptr, 2},
      {IDC_THREADS_LIST, nullptr, 3},
  };
  panel.visible = false;  // the balloon does not depend on it
  for (const Case& c : cases) {
    SetUp();
    if (c.text) {
      panel.texts[c.control] = c.text;
    } else if (c.selection < 0) {
      panel.selections.erase(c.control);
    } else {
      panel.selections[c.control] = c.selection;
    }
    const int beeps = panel.beeps;
    EXPECT_FALSE(controller->StartTest()) << c.control;
    EXPECT_EQ(panel.beeps, beeps + 1);
    ASSERT_FALSE(panel.focused.empty());
    EXPECT_EQ(panel.focused.back(), c.control);
    ASSERT_FALSE(panel.balloons.empty());
    EXPECT_EQ(panel.balloons.back().text, kInvalidField);
    EXPECT_EQ(panel.balloons.back().title, "Sieveline");
    EXPECT_EQ(panel.balloons.back().icon, BalloonIcon::Error);
    EXPECT_EQ(panel.balloons.back().timeoutMs, 10'000u);
    EXPECT_TRUE(panel.posted.empty());
    EXPECT_FALSE(controller->running());
  }
}

TEST_F(ControllerTest, StartKeepsTheInvalidValueAndLeavesLaterFieldsAlone) {
  controller->params.errorsLimit = 77;
  panel.texts[IDC_MEM_TO_TEST] = "15";
  EXPECT_FALSE(controller->StartTest());
  EXPECT_EQ(controller->params.memToTestMb, 15u);
  EXPECT_EQ(controller->params.errorsLimit, 77u);

  panel.texts[IDC_MEM_TO_TEST] = "16";
  panel.selections.erase(IDC_THREADS_LIST);
  EXPECT_FALSE(controller->StartTest());
  EXPECT_EQ(controller->params.threadsIndex, 0xFFFFFFFFu);
}

TEST_F(ControllerTest, StartAcceptsTheBoundsAndShowsInitializing) {
  panel.texts[IDC_MEM_TO_TEST] = "3000";  // all that is available
  panel.texts[IDC_ERRORS_LIMIT] = "100";
  panel.texts[IDC_HOURS_LIMIT] = "100";
  panel.checks = {{IDC_LOG_TESTING, true}, {IDC_HIGH_MEMORY, true}, {IDC_MINIMIZE_ON_START, true}};
  ASSERT_TRUE(controller->StartTest());
  const TestParams& params = controller->params;
  EXPECT_EQ(params.memAvailableMb, 3000u);
  EXPECT_EQ(params.memTotalMb, 4096u);
  EXPECT_EQ(params.memToTestMb, 3000u);
  EXPECT_EQ(params.errorsLimit, 100u);
  EXPECT_EQ(params.methodIndex, 1u);
  EXPECT_EQ(params.priorityIndex, 1u);
  EXPECT_TRUE(params.logTesting && params.highMemory && params.minimizeOnStart);
  EXPECT_FALSE(params.alarmOnError || params.hideWhenMinimized);

  EXPECT_EQ(panel.caption, "Sieveline: initializing...");
  EXPECT_EQ(panel.trayTip, "Sieveline: initializing...");
  EXPECT_FALSE(panel.enabled[ID_START_STOP]);
  EXPECT_FALSE(panel.enabled[ID_APP_EXIT]);
  EXPECT_EQ(panel.posted, std::deque<std::uint32_t>{ID_TEST_BEGIN});
  EXPECT_TRUE(panel.balloons.empty());
}

TEST_F(ControllerTest, ARunStoppedByTheUserGoesThroughEveryStateAndLogsIt) {
  panel.checks[IDC_HIGH_MEMORY] = true;
  WorkerProbe probe;
  UseFactory([&](std::int32_t method, IMemTest*& out) {
    EXPECT_EQ(method, 1);
    out = MakeProbedWorker(method, probe);
    return S_OK;
  });
  controller->cycleDelayMs = 5;
  panel.localTime = kRunStart;
  ASSERT_TRUE(StartRun());
  EXPECT_EQ(probe.startedWith, 16u << 20);
  EXPECT_EQ(probe.delayMs, 5u);
  EXPECT_TRUE(probe.highMemory);
  EXPECT_EQ(panel.priorityClasses, std::vector<std::uint32_t>{0x8000});
  EXPECT_EQ(panel.texts[ID_START_STOP], "Stop");
  EXPECT_TRUE(panel.enabled[ID_START_STOP]);
  EXPECT_FALSE(panel.enabled[ID_APP_EXIT]);
  EXPECT_FALSE(panel.compactMemoryEnabled);
  EXPECT_EQ(controller->logPath(), LogPath());
  EXPECT_EQ(Log(), kStartEntry);

  panel.localTime.minute = 5;
  controller->OnStartStop();
  EXPECT_EQ(panel.caption, "Sieveline: stopping...");
  EXPECT_EQ(panel.trayTip, "Sieveline: stopping...");
  EXPECT_FALSE(panel.enabled[ID_START_STOP]);
  Pump();
  EXPECT_TRUE(probe.released);
  EXPECT_FALSE(controller->running());
  EXPECT_EQ(panel.priorityClasses, (std::vector<std::uint32_t>{0x8000, 0x20}));
  EXPECT_EQ(panel.caption, "Sieveline: 0 errors ");
  EXPECT_EQ(panel.trayTip, "Sieveline: 0 errors ");
  EXPECT_EQ(panel.trayIcons.back(), TrayIcon::Normal);
  EXPECT_EQ(panel.texts[ID_START_STOP], "Start");
  EXPECT_TRUE(panel.enabled[ID_START_STOP] && panel.enabled[ID_APP_EXIT]);
  EXPECT_TRUE(panel.compactMemoryEnabled);
  EXPECT_TRUE(panel.balloons.empty()) << "the panel was in view";
  EXPECT_EQ(Log(), std::string(kStartEntry) + "Finished 10:05:00 (reason: terminated by user)\r\n");
  EXPECT_EQ(controller->logPath(), LogPath()) << "kept for View log";
}

TEST_F(ControllerTest, AHiddenOrMinimizedPanelGetsTheResultAsABalloon) {
  panel.checks[IDC_LOG_TESTING] = false;
  for (const bool minimized : {false, true}) {
    panel.visible = minimized;
    panel.minimized = minimized;
    panel.balloons.clear();
    ASSERT_TRUE(StartRun());
    controller->OnStartStop();
    const std::int32_t cycles = g_cycleCount;
    Pump();
    ASSERT_EQ(panel.balloons.size(), 1u);
    const Balloon& balloon = panel.balloons[0];
    // 16 MiB cycles of 2^20 iterations check the memory once each: 10 percent a cycle.
    EXPECT_EQ(balloon.text, "Test stopped (terminated by user)\nErrors: 0\nCycles: " +
                                std::to_string(g_cycleCount.load()) +
                                "\nChecked: " + std::to_string(g_cycleCount.load() * 10) + "%");
    EXPECT_GE(g_cycleCount.load(), cycles);
    EXPECT_EQ(balloon.icon, BalloonIcon::Info);
    EXPECT_EQ(balloon.title, "Sieveline");
  }
  EXPECT_EQ(controller->logPath(), "") << "a run without logging keeps no log path";
}

TEST_F(ControllerTest, ARunWhereNoWorkerStartsStopsAtOnceAndLogsOnlyItsEnd) {
  int asked = 0;
  UseFactory([&](std::int32_t, IMemTest*&) {
    ++asked;
    return E_OUTOFMEMORY;
  });
  panel.selections[IDC_THREADS_LIST] = 2;
  panel.localTime = kRunStart;
  ASSERT_TRUE(controller->StartTest());
  panel.posted.pop_front();
  controller->BeginTest();
  EXPECT_EQ(asked, 4);
  EXPECT_EQ(panel.caption, "Sieveline: stopping...");
  EXPECT_EQ(panel.posted, std::deque<std::uint32_t>{STOP_BY_USER << 16 | ID_TEST_END});
  EXPECT_TRUE(panel.priorityClasses.empty()) << "the priority is raised only for a running test";
  Pump();
  EXPECT_EQ(panel.caption, "Sieveline: 0 errors ");
  EXPECT_EQ(panel.texts[ID_START_STOP], "Start");
  EXPECT_EQ(Log(), "Finished 10:00:00 (reason: terminated by user)\r\n");
}

TEST_F(ControllerTest, FewerWorkersThanAskedShareTheMemoryAndLeaveAWarning) {
  WorkerProbe probes[4];
  int made = 0;
  UseFactory([&](std::int32_t method, IMemTest*& out) {
    const int n = made++;
    if (n == 1) return E_OUTOFMEMORY;  // not created
    probes[n].failStart = n == 2;      // created, but its thread does not start
    out = MakeProbedWorker(method, probes[n]);
    return S_OK;
  });
  panel.selections[IDC_THREADS_LIST] = 2;
  panel.localTime = kRunStart;
  ASSERT_TRUE(StartRun());
  EXPECT_TRUE(probes[2].released) << "a worker that cannot start is released at once";
  for (const int n : {0, 2, 3}) EXPECT_EQ(probes[n].startedWith, 4u << 20) << n;
  EXPECT_EQ(Log(),
            "Started 10:00:00\r\n"
            "memory: 16 of 3000 Mb, method: 1, priority: above, work threads: 4, errstop: 0, "
            "hrsstop: 0\r\n"
            "**Warning: 2 work thread(s) of 4 started\r\n");
  controller->EndRunForExit();
  EXPECT_TRUE(probes[0].released && probes[3].released);
  EXPECT_FALSE(controller->running());
}

TEST_F(ControllerTest, AllAvailableMemoryIsTakenAsAvailableWhenTheRunBegins) {
  WorkerProbe probe;
  UseFactory([&](std::int32_t method, IMemTest*& out) {
    out = MakeProbedWorker(method, probe);
    return S_OK;
  });
  panel.texts[IDC_MEM_AVAILABLE] = "40";
  panel.texts[IDC_MEM_TO_TEST] = "40";
  panel.availableMb = 24;  // less by the time the run begins
  ASSERT_TRUE(StartRun());
  EXPECT_EQ(probe.startedWith, 24u << 20);
  controller->EndRunForExit();
}

TEST_F(ControllerTest, TrayTextsBeyondTheIconsLimitsAreNotShown) {
  const std::string longTitle(120, 'T');  // with ": initializing..." past 127 characters
  controller = std::make_unique<CTestRunController>(panel, longTitle, logs.Path().string());
  ASSERT_TRUE(controller->StartTest());
  EXPECT_EQ(panel.caption, longTitle + ": initializing...");
  EXPECT_TRUE(panel.trayTips.empty());

  panel.posted.clear();
  panel.texts[IDC_MEM_TO_TEST] = "1";
  controller->StartTest();
  EXPECT_TRUE(panel.balloons.empty()) << "a title over 63 characters shows no balloon";
}

TEST_F(ControllerTest, CheckedPercentageUsesTheFullByteCountAndIsNotCapped) {
  controller->params.memToTestMb = 8192;
  const std::int32_t saved = g_cycleCount;
  g_cycleCount = 100'000;
  // 100,000 cycles of 2^23 iterations over 8 GiB: the memory 1562.5 times over, x 10.
  EXPECT_DOUBLE_EQ(controller->CheckedPercent(0x800000), 15625.0);
  g_cycleCount = saved;
}

}  // namespace

namespace {

using namespace test_support;

TEST_F(ControllerTest, AnUnknownStopReasonIsLoggedAsUnknown) {
  panel.localTime = kRunStart;
  ASSERT_TRUE(StartRun());
  EXPECT_TRUE(controller->StopTest(9));
  EXPECT_FALSE(controller->StopTest(STOP_BY_USER)) << "the stop is already on its way";
  Pump();
  EXPECT_EQ(Log(), std::string(kStartEntry) + "Finished 10:00:00 (reason: unknown)\r\n");
}

}  // namespace
