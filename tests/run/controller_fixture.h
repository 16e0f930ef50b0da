#pragma once
// A controller on a fake panel, with the panel's message queue pumped by hand and a log
// folder of its own.

#include <gtest/gtest.h>

#include <memory>

#include "engine/worker_support.h"
#include "fake_run_panel.h"
#include "resources/resource_ids.h"
#include "run/status_tick_state.h"
#include "run/run_log.h"
#include "run/run_controller.h"
#include "support/temp_folder.h"

namespace test_support {

class ControllerTest : public testing::Test {
 protected:
  void SetUp() override {
    g_nextTickDue = 0;
    g_statusPhase = 0;
    g_trayBlink = false;
    g_cycleDelayMs = 0;
    panel.texts = {{IDC_MEM_AVAILABLE, "3000"},
                   {IDC_MEM_TOTAL, "4096"},
                   {IDC_MEM_TO_TEST, "16"},
                   {IDC_ERRORS_LIMIT, "0"},
                   {IDC_HOURS_LIMIT, "0"}};
    panel.selections = {{IDC_METHOD_LIST, 1}, {IDC_THREADS_LIST, 0}, {IDC_PRIORITY_LIST, 1}};
    panel.listEntries[IDC_PRIORITY_LIST] = {"normal", "above", "high"};
    panel.checks = {{IDC_LOG_TESTING, true}};
    UseFactory(CreateMemTest);
  }

  void UseFactory(CTestRunController::WorkerFactory factory) {
    controller = std::make_unique<CTestRunController>(panel, "Sieveline", logs.Path().string(),
                                                      std::move(factory));
  }

  // Delivers the posted commands, as the panel's message loop would.
  void Pump() {
    while (!panel.posted.empty()) {
      const std::uint32_t word = panel.posted.front();
      panel.posted.pop_front();
      if ((word & 0xFFFF) == ID_TEST_BEGIN) controller->BeginTest();
      if ((word & 0xFFFF) == ID_TEST_END)
        controller->EndTest(static_cast<std::uint16_t>(word >> 16));
    }
  }

  // Start pressed and the begin command delivered; true once a cycle has ended.
  bool StartRun() {
    if (!controller->StartTest()) return false;
    Pump();
    return controller->running() && WaitUntil([] { return g_cycleCount.load() > 0; });
  }

  // An idle call `advanceMs` after the last one.
  void Tick(std::uint64_t advanceMs = 1001) {
    panel.tick += advanceMs;
    controller->OnIdle();
  }

  std::string LogPath() const { return LogFileName(logs.Path().string(), kRunStart, "log"); }
  std::string Log() const { return ReadFile(LogPath()); }

  static constexpr platform::LocalTime kRunStart{2026, 12, 9, 10, 0, 0};

  TempFolder logs;
  FakeRunPanel panel;
  std::unique_ptr<CTestRunController> controller;
};

inline constexpr char kStartEntry[] =
    "Started 10:00:00\r\n"
    "memory: 16 of 3000 Mb, method: 1, priority: above, work threads: 1, errstop: 0, "
    "hrsstop: 0\r\n";

}  // namespace test_support
