#include "run/run_session.h"

#include "diag/format.h"
#include "engine/engine_state.h"
#include "run/run_strings.h"

std::uint32_t ReasonString(std::uint16_t reason) {
  using namespace run_strings;
  switch (reason) {
    case STOP_BY_USER:
      return kByUser;
    case STOP_ERRORS_LIMIT:
      return kErrorsLimit;
    case STOP_TIME_LIMIT:
      return kTimeLimit;
    case STOP_NO_TEST_MEMORY:
      return kNoTestMemory;
    default:
      return kUnknownReason;
  }
}

double CheckedPercent(std::int32_t cycles, std::uint32_t cycleIterations,
                      std::uint32_t memToTestMb) {
  const double bytesChecked =
      static_cast<double>(static_cast<std::uint32_t>(cycles)) * cycleIterations * 16 * 10;
  return bytesChecked / static_cast<double>(std::uint64_t{memToTestMb} << 20);
}

std::string ElapsedText(std::int64_t seconds) {
  const std::uint64_t elapsed = seconds > 0 ? static_cast<std::uint64_t>(seconds) : 0;
  return Format("%02u:%02u:%02u", static_cast<unsigned>(elapsed / 3600 % 24),
                static_cast<unsigned>(elapsed / 60 % 60), static_cast<unsigned>(elapsed % 60));
}

RunSession::RunSession(WorkerFactory createWorker, LocalClock localTime)
    : m_createWorker(std::move(createWorker)), m_localTime(std::move(localTime)) {}

std::uint32_t RunSession::StartWorkers(std::int32_t method, std::uint32_t threads,
                                       std::uint32_t amountMb, std::uint32_t delayMs,
                                       bool highMemory, std::string logPath) {
  m_logPath = std::move(logPath);
  m_threadsAsked = threads;
  m_errorsFound = 0;
  m_workersFailed = 0;
  g_cycleCount = 0;

  const std::uint64_t share = (std::uint64_t{amountMb} << 20) / threads;
  for (std::uint32_t i = 0; i < threads; ++i) {
    IMemTest* created = nullptr;
    if (Failed(m_createWorker(method, created))) continue;
    Worker worker(created);
    if (Failed(worker->Start(share, delayMs, highMemory))) continue;
    m_workers.push_back(std::move(worker));
  }
  return workersStarted();
}

void RunSession::LogStart(const TestLogStart& start) {
  if (m_logPath.empty()) return;
  WriteStartEntry(m_logPath, m_localTime(), start);
  if (workersStarted() < m_threadsAsked) {
    WriteWarningEntry(m_logPath, workersStarted(), m_threadsAsked);
  }
}

bool RunSession::CheckFailedWorkers() {
  std::uint32_t failed = 0;
  for (const Worker& worker : m_workers) {
    failed += worker->GetStatus().state == MemTestState::Failed;
  }
  if (failed == m_workersFailed) return false;
  m_workersFailed = failed;
  if (!m_logPath.empty()) WriteWarningEntry(m_logPath, workersTesting(), m_threadsAsked);
  return workersTesting() == 0;
}

void RunSession::DrainErrors(std::uint32_t memToTestMb,
                             const std::function<void(const MemTestError&)>& onError) {
  for (auto worker = m_workers.rbegin(); worker != m_workers.rend(); ++worker) {
    MemTestError error;
    while ((*worker)->GetNextError(error)) {
      ++m_errorsFound;
      if (!m_logPath.empty()) {
        WriteErrorEntry(m_logPath, static_cast<std::int32_t>(m_errorsFound), g_cycleCount,
                        CheckedPercent(g_cycleCount, g_cycleIterations, memToTestMb), error,
                        m_localTime());
      }
      onError(error);
    }
  }
}

std::uint16_t RunSession::LimitReached(std::uint32_t errorsLimit, std::int64_t limitSeconds,
                                       std::int64_t elapsedSeconds) const {
  if (errorsLimit != 0 && m_errorsFound >= errorsLimit) return STOP_ERRORS_LIMIT;
  if (limitSeconds != 0 && elapsedSeconds >= limitSeconds) return STOP_TIME_LIMIT;
  return 0;
}

void RunSession::ReleaseWorkers() {
  while (!m_workers.empty()) m_workers.pop_back();
  m_workers.shrink_to_fit();
}

void RunSession::LogFinish(const std::string& reasonText) {
  if (!m_logPath.empty()) WriteFinishEntry(m_logPath, m_localTime(), reasonText);
}
