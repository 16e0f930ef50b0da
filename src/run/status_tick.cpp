// The status tick: the panel's idle handler supervises a run about once a second and
// keeps the memory figures fresh between runs.

#include <algorithm>

#include "diag/format.h"
#include "diag/text.h"
#include "engine/engine_state.h"
#include "resources/resource_ids.h"
#include "run/run_controller.h"
#include "run/run_log.h"
#include "run/run_strings.h"
#include "run/status_tick_state.h"

namespace {

constexpr std::uint64_t kIdleTickMs = 4000;
constexpr std::uint64_t kRunningTickMs = 1000;
constexpr std::uint32_t kIdleSleepMs = 100;

using namespace run_strings;

constexpr const char* kSpinners[2][4] = {{"...", ":..", "..:", ".:."}, {"..", ":.", "::", ".:"}};

}  // namespace

bool CTestRunController::OnIdle() {
  const std::uint64_t now = m_panel.TickMilliseconds();
  if (running()) {
    RunningTick(now);
  } else {
    IdleTick(now);
  }
  m_panel.Sleep(kIdleSleepMs);
  return true;
}

void CTestRunController::IdleTick(std::uint64_t now) {
  if (g_nextTickDue >= now) return;
  g_nextTickDue = now + kIdleTickMs;
  const std::uint32_t available = m_panel.AvailableMemoryMb();
  if (available == params.memAvailableMb) return;
  params.memAvailableMb = available;
  m_panel.SetControlNumber(IDC_MEM_AVAILABLE, available);
  std::uint32_t toTest = 0;
  if (m_panel.ReadNumber(IDC_MEM_TO_TEST, toTest) && toTest > available) {
    params.memToTestMb = available;
    m_panel.SetControlNumber(IDC_MEM_TO_TEST, available);
  }
  m_panel.SetMemorySpinRange(16, available);
}

void CTestRunController::RunningTick(std::uint64_t now) {
  if (g_nextTickDue >= now) return;
  // Failed workers are checked before the first cycle: a run whose workers all failed
  // never ends one.
  if (m_run.CheckFailedWorkers()) {
    StopTest(STOP_NO_TEST_MEMORY);
    return;
  }
  if (g_cycleCount <= 0) return;
  g_nextTickDue = now + kRunningTickMs;

  m_run.DrainErrors(params.memToTestMb, [this](const MemTestError&) {
    if (params.alarmOnError) {
      m_panel.Beep();
      if (flashOnError) m_panel.Flash();
    }
  });

  const double checked = CheckedPercent(g_cycleIterations);
  // While the panel is hidden the phase stands still and the tray is the only status
  // the user has: it is refreshed on every tick then.
  if ((g_statusPhase & 1) == 0 || !m_panelShown) {
    SetTooltipText(Format(ResolveText(TextId(kTrayTip)).c_str(), m_title.c_str(),
                          static_cast<int>(m_run.errorsFound()),
                          static_cast<int>(g_cycleCount.load()), checked));
    g_trayBlink = !g_trayBlink;
    m_panel.SetTrayIcon(g_trayBlink ? TrayIcon::Busy : TrayIcon::Normal);
  }

  m_elapsedSeconds = m_panel.CalendarSeconds() - m_startTime;
  if (m_panelShown) {
    ++g_statusPhase;
    const char* spinner = kSpinners[params.methodIndex == 1][g_statusPhase & 3];
    m_panel.SetCaption(Format(ResolveText(TextId(kCaption)).c_str(), m_title.c_str(),
                              static_cast<int>(m_run.errorsFound()), spinner));
    m_panel.SetControlText(IDC_TIME_ELAPSED, ElapsedText(m_elapsedSeconds));
    // Days of a small share with several workers pass what the field can show.
    m_panel.SetControlNumber(IDC_CHECKED,
                             static_cast<std::uint32_t>(std::min(checked, 4294967295.0)));
    m_panel.SetControlNumber(IDC_ERRORS_FOUND, m_run.errorsFound());
    m_panel.SetControlNumber(IDC_CYCLES, static_cast<std::uint32_t>(g_cycleCount.load()));
  }

  const std::uint16_t limit = m_run.LimitReached(
      params.errorsLimit, params.hoursLimit != 0 ? m_limitSeconds : 0, m_elapsedSeconds);
  if (limit != 0) StopTest(limit);
}
