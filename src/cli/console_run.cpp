#include "cli/console_run.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <thread>

#include "cli/run_report.h"
#include "cli/status_line.h"
#include "diag/text.h"
#include "engine/engine_state.h"
#include "platform/console.h"
#include "platform/console_stop.h"
#include "run/run_session.h"

namespace {

// The companion's own stop reason, which the panel does not have.
constexpr std::uint16_t kStopCyclesLimit = 0x100;
constexpr char kCyclesLimitText[] = "cycles limit was exceeded";

// Records are drained and the limits checked this often: an errors limit stops the run,
// and the report follows, within a hundredth of a second of the error's record.
constexpr auto kPollInterval = std::chrono::milliseconds(10);
constexpr auto kTickInterval = std::chrono::seconds(1);

std::string ReasonText(std::uint16_t reason) {
  if (reason == kStopCyclesLimit) return kCyclesLimitText;
  return ResolveText(TextId(ReasonString(reason)));
}

// Creates `path` anew, empty. False when it cannot be created or written.
bool CreateEmptyFile(const std::string& path) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  return file.good();
}

bool WriteWholeFile(const std::string& path, const std::string& text) {
  std::ofstream file(path, std::ios::binary | std::ios::trunc);
  file << text;
  file.close();
  return file.good();
}

}  // namespace

int RunInConsole(const CliOptions& options, std::uint32_t availableMb, const std::string& version) {
  const bool jsonToStdout = options.jsonPath == "-";
  // Refused before anything starts: a run whose result cannot be kept is not worth running.
  for (const std::string* path : {&options.logPath, &options.jsonPath}) {
    if (path->empty() || (path == &options.jsonPath && jsonToStdout)) continue;
    if (!CreateEmptyFile(*path)) {
      std::fprintf(stderr, "sieveline-cli: %s: cannot create '%s'\n",
                   path == &options.logPath ? "--log" : "--json", path->c_str());
      return kExitFailure;
    }
  }

  platform::InstallConsoleStopHandler();
  RunReport report;
  report.availableMb = availableMb;
  report.start = platform::ReadLocalTime();
  const auto started = std::chrono::steady_clock::now();

  RunSession run(CreateCompanionMemTest, platform::ReadLocalTime);
  run.StartWorkers(static_cast<std::int32_t>(options.methodIndex), options.threads,
                   options.memoryMb, options.delayMs, options.highMemory, options.logPath);
  if (options.priorityIndex != 0 && !platform::SetProcessPriority(options.priorityIndex)) {
    std::fprintf(stderr, "sieveline-cli: --priority: the system refused '%s'; running as it was\n",
                 PriorityName(options.priorityIndex));
  }
  // The log's time limit is in whole hours: a shorter one shows as the hour it starts.
  const auto limitHours = static_cast<std::uint32_t>((options.timeLimitSeconds + 3599) / 3600);
  run.LogStart({options.memoryMb, availableMb, options.methodIndex,
                PriorityName(options.priorityIndex), options.threads, options.errorsLimit,
                limitHours});

  StatusLine status(platform::StandardErrorIsTerminal());
  const auto keep = [&report](const MemTestError& error) {
    if (report.records.size() < kMaxRecords) report.records.push_back(error);
  };
  std::uint16_t reason = run.workersStarted() == 0 ? STOP_NO_TEST_MEMORY : 0;
  // Polled on a schedule of its own, so that records are drained and the limits checked
  // every kPollInterval, however long a poll takes; the status line follows the clock.
  auto nextPoll = started;
  auto nextTick = started + kTickInterval;
  while (reason == 0) {
    nextPoll += kPollInterval;
    std::this_thread::sleep_until(nextPoll);
    if (platform::ConsoleStopRequested()) {
      reason = STOP_BY_USER;
      break;
    }
    if (options.cycles != 0 && static_cast<std::uint64_t>(g_cycleCount.load()) >= options.cycles) {
      reason = kStopCyclesLimit;
      break;
    }
    if (run.CheckFailedWorkers()) {
      reason = STOP_NO_TEST_MEMORY;
      break;
    }
    run.DrainErrors(options.memoryMb, keep);
    const auto now = std::chrono::steady_clock::now();
    const auto elapsed = std::chrono::duration_cast<std::chrono::seconds>(now - started).count();
    reason = run.LimitReached(options.errorsLimit,
                              static_cast<std::int64_t>(options.timeLimitSeconds), elapsed);
    if (reason != 0 || now < nextTick) continue;
    nextTick = now + kTickInterval;
    if (!options.quiet) {
      status.Show(StatusText(run.errorsFound(), g_cycleCount,
                             CheckedPercent(g_cycleCount, g_cycleIterations, options.memoryMb),
                             elapsed));
    }
  }

  // What the workers found up to here is counted, logged and reported before they go;
  // so is a worker that failed since the last check.
  run.CheckFailedWorkers();
  run.DrainErrors(options.memoryMb, keep);
  report.cycles = g_cycleCount;
  report.checkedPercent = CheckedPercent(report.cycles, g_cycleIterations, options.memoryMb);
  report.workersAsked = run.threadsAsked();
  report.workersStarted = run.workersTesting();
  run.ReleaseWorkers();
  report.stopReason = ReasonText(reason);
  run.LogFinish(report.stopReason);
  report.finish = platform::ReadLocalTime();
  report.errorsFound = run.errorsFound();
  report.failMask = g_failMask;
  report.lostRecords = g_lostErrorRecords;

  status.Close();
  std::fputs(SummaryText(report).c_str(), jsonToStdout ? stderr : stdout);
  int exitCode = report.errorsFound != 0         ? kExitErrorsFound
                 : reason == STOP_NO_TEST_MEMORY ? kExitNoTestMemory
                                                 : kExitNoErrors;
  if (!options.jsonPath.empty()) {
    const std::string json = ReportJson(version, options, report);
    if (jsonToStdout) {
      std::fputs(json.c_str(), stdout);
    } else if (!WriteWholeFile(options.jsonPath, json)) {
      std::fprintf(stderr, "sieveline-cli: --json: cannot write '%s'\n", options.jsonPath.c_str());
      exitCode = kExitFailure;
    }
  }
  std::fflush(stdout);
  std::fflush(stderr);
  platform::ConsoleStopFinished();
  return exitCode;
}
