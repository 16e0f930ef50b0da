#pragma once
// One test run, as both front ends run it: the panel's controller and the console
// companion. It creates and owns the workers, notices workers that failed, drains and
// counts their error records, checks the limits and writes the test log's entries.
// What a front end shows of the run, and when it calls what, is its own.
//
// Threadsafety: every member is called on the front end's one controlling thread.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/mem_test.h"
#include "platform/local_time.h"
#include "run/run_log.h"

// Why a run ends; the reason travels in the high 16 bits of the panel's ID_TEST_END
// command word.
enum StopReason : std::uint16_t {
  STOP_BY_USER = 1,
  STOP_ERRORS_LIMIT = 2,
  STOP_TIME_LIMIT = 3,
  STOP_NO_TEST_MEMORY = 4,  // every worker failed to get its memory
};

// The string-table number of a stop reason's text.
std::uint32_t ReasonString(std::uint16_t reason);

// How often `memToTestMb` has been gone through, x 10, after `cycles` cycles of
// `cycleIterations` iterations each.
double CheckedPercent(std::int32_t cycles, std::uint32_t cycleIterations,
                      std::uint32_t memToTestMb);

// An elapsed time as the status shows it: "HH:MM:SS", hours modulo a day; a calendar
// clock set back shows 00:00:00.
std::string ElapsedText(std::int64_t seconds);

class RunSession {
 public:
  using WorkerFactory = std::function<HRESULT(std::int32_t method, IMemTest*& out)>;
  using LocalClock = std::function<platform::LocalTime()>;

  // Workers are made by `createWorker`; every log entry takes its time from `localTime`.
  RunSession(WorkerFactory createWorker, LocalClock localTime);
  RunSession(const RunSession&) = delete;
  RunSession& operator=(const RunSession&) = delete;
  ~RunSession() { ReleaseWorkers(); }

  // Resets the counters and g_cycleCount, and starts `threads` workers of `method` on an
  // equal share of `amountMb` each. The log is written to `logPath`; empty is no log.
  // Returns the number of workers started.
  std::uint32_t StartWorkers(std::int32_t method, std::uint32_t threads, std::uint32_t amountMb,
                             std::uint32_t delayMs, bool highMemory, std::string logPath);
  // The start entry, and the warning entry when fewer workers started than were asked for.
  void LogStart(const TestLogStart& start);

  // Writes a warning entry whenever the number of failed workers has changed. True when
  // it has, and no worker is left testing: the run must stop for want of test memory.
  bool CheckFailedWorkers();
  // Moves every queued record out of the workers, last worker first: each is counted,
  // logged as error number errorsFound() and then handed to `onError`.
  // `memToTestMb` is the amount the checked percentage of each entry refers to.
  void DrainErrors(std::uint32_t memToTestMb,
                   const std::function<void(const MemTestError&)>& onError);
  // The reason a limit gives to stop, or 0. `errorsLimit` 0 is none; so is `limitSeconds` 0.
  std::uint16_t LimitReached(std::uint32_t errorsLimit, std::int64_t limitSeconds,
                             std::int64_t elapsedSeconds) const;

  // Stops and frees the workers, last to first. Records still queued are lost.
  void ReleaseWorkers();
  // The finish entry, with the reason's text.
  void LogFinish(const std::string& reasonText);

  std::uint32_t threadsAsked() const { return m_threadsAsked; }
  std::uint32_t workersStarted() const { return static_cast<std::uint32_t>(m_workers.size()); }
  // The workers started less those CheckFailedWorkers last found failed.
  std::uint32_t workersTesting() const { return workersStarted() - m_workersFailed; }
  std::uint32_t errorsFound() const { return m_errorsFound; }
  const std::string& logPath() const { return m_logPath; }

 private:
  struct ReleaseWorker {
    void operator()(IMemTest* worker) const { worker->Release(); }
  };
  using Worker = std::unique_ptr<IMemTest, ReleaseWorker>;

  const WorkerFactory m_createWorker;
  const LocalClock m_localTime;
  std::string m_logPath;
  std::uint32_t m_threadsAsked = 0;
  std::uint32_t m_workersFailed = 0;
  std::uint32_t m_errorsFound = 0;
  std::vector<Worker> m_workers;
};
