#pragma once
// The test run controller: turns the panel's settings into a running memory test,
// supervises it from the panel's idle processing (the status tick), and ends it on the
// user's request or at a limit. Start and stop each run in two halves joined by a command
// the panel posts to itself, so the panel can repaint its "initializing" or "stopping"
// caption before the slow half runs.
//
// Typical use by the panel, all on the user-interface thread:
//   ID_START_STOP          -> OnStartStop()
//   ID_TEST_BEGIN          -> BeginTest()
//   ID_TEST_END | r << 16  -> EndTest(r)
//   idle                   -> OnIdle()
//   WM_SHOWWINDOW          -> OnShowWindow(shown)
//   Exit                   -> EndRunForExit(), before the panel goes

#include <cstdint>
#include <string>

#include "engine/mem_test.h"
#include "run/run_panel.h"
#include "run/run_params.h"
#include "run/run_session.h"

class CTestRunController {
 public:
  using WorkerFactory = RunSession::WorkerFactory;

  // `title` is the program's title; logs of logged runs go to `logFolder`. Workers are
  // made by `createWorker`.
  CTestRunController(IRunPanel& panel, std::string title, std::string logFolder,
                     WorkerFactory createWorker = CreateMemTest);
  CTestRunController(const CTestRunController&) = delete;
  CTestRunController& operator=(const CTestRunController&) = delete;
  ~CTestRunController();

  int OnStartStop();
  // Reads and checks the panel; on success shows "initializing" and posts ID_TEST_BEGIN.
  bool StartTest();
  int BeginTest();
  // Asks for the end of a running run: shows "stopping" and posts ID_TEST_END. False, and
  // nothing done, when no run is running or its stop has already been asked for.
  bool StopTest(std::uint16_t reason);
  // Ends the run whose stop was asked for; a repeated ID_TEST_END finds none and is ignored.
  int EndTest(std::uint16_t reason);
  // Ends a run at once, for the panel's exit: the workers are released, the priority is
  // back to normal and the log has its finish entry before the panel goes.
  void EndRunForExit();

  // The status tick: the panel's idle handler. Always true, after a 100 ms sleep.
  bool OnIdle();
  void OnShowWindow(bool shown) { m_panelShown = shown; }

  // How often the tested memory has been gone through, x 10, with `cycleIterations`
  // iterations per cycle.
  double CheckedPercent(std::uint32_t cycleIterations) const;

  // Read by StartTest; the panel fills its controls from them at start-up.
  TestParams params;
  // From the settings file: flash with every alarm; the pause after each cycle.
  bool flashOnError = false;
  std::uint32_t cycleDelayMs = 0;

  bool running() const { return m_phase == Phase::Running || m_phase == Phase::Stopping; }
  std::uint32_t errorsFound() const { return m_run.errorsFound(); }
  const std::string& logPath() const { return m_run.logPath(); }

 private:
  enum class Phase { Idle, Initializing, Running, Stopping };

  bool RejectField(int control);
  void RequestEnd(std::uint16_t reason);
  void IdleTick(std::uint64_t now);
  void RunningTick(std::uint64_t now);
  void SetTooltipText(const std::string& text);
  void ShowBalloon(const std::string& text, BalloonIcon icon);
  std::string Text(std::uint32_t number) const;

  IRunPanel& m_panel;
  const std::string m_logFolder;
  RunSession m_run;

  Phase m_phase = Phase::Idle;
  std::uint16_t m_pendingReason = 0;
  std::int64_t m_startTime = 0;
  std::int64_t m_elapsedSeconds = 0;
  std::int64_t m_limitSeconds = 0;
  const std::string m_title;
  bool m_panelShown = false;
};
