#include "run/run_controller.h"

#include "diag/format.h"
#include "diag/text.h"
#include "engine/engine_state.h"
#include "resources/resource_ids.h"
#include "run/run_log.h"
#include "run/run_strings.h"

namespace {

using namespace run_strings;

constexpr std::uint32_t kBalloonTimeoutMs = 10'000;
// What the notification area takes: longer texts leave the tip as it is, or show no balloon.
constexpr std::size_t kTooltipMax = 127;
constexpr std::size_t kBalloonTextMax = 255;
constexpr std::size_t kBalloonTitleMax = 63;

constexpr std::uint32_t kNormalPriorityClass = 0x20;
constexpr std::uint32_t kPriorityClasses[] = {kNormalPriorityClass, 0x8000, 0x80};

}  // namespace

CTestRunController::CTestRunController(IRunPanel& panel, std::string title, std::string logFolder,
                                       WorkerFactory createWorker)
    : m_panel(panel),
      m_logFolder(std::move(logFolder)),
      m_run(std::move(createWorker), [&panel] { return panel.LocalTime(); }),
      m_title(std::move(title)) {}

CTestRunController::~CTestRunController() = default;

std::string CTestRunController::Text(std::uint32_t number) const {
  return ResolveText(TextId(number));
}

void CTestRunController::SetTooltipText(const std::string& text) {
  if (text.size() <= kTooltipMax) m_panel.SetTrayTip(text);
}

void CTestRunController::ShowBalloon(const std::string& text, BalloonIcon icon) {
  if (text.size() <= kBalloonTextMax && m_title.size() <= kBalloonTitleMax) {
    m_panel.ShowBalloon(text, m_title, icon, kBalloonTimeoutMs);
  }
}

int CTestRunController::OnStartStop() {
  if (!running()) {
    StartTest();
  } else {
    StopTest(STOP_BY_USER);
  }
  return 0;
}

bool CTestRunController::RejectField(int control) {
  m_panel.Beep();
  m_panel.Focus(control);
  ShowBalloon(Text(kInvalidField), BalloonIcon::Error);
  return false;
}

bool CTestRunController::StartTest() {
  // Each value is kept as read, the invalid one included; the fields after it keep theirs.
  if (!m_panel.ReadNumber(IDC_MEM_AVAILABLE, params.memAvailableMb)) {
    return RejectField(IDC_MEM_AVAILABLE);
  }
  if (!m_panel.ReadNumber(IDC_MEM_TOTAL, params.memTotalMb)) return RejectField(IDC_MEM_TOTAL);
  if (!m_panel.ReadNumber(IDC_MEM_TO_TEST, params.memToTestMb) || params.memToTestMb < 16 ||
      params.memToTestMb > params.memAvailableMb) {
    return RejectField(IDC_MEM_TO_TEST);
  }
  if (!m_panel.ReadNumber(IDC_ERRORS_LIMIT, params.errorsLimit) || params.errorsLimit > 100) {
    return RejectField(IDC_ERRORS_LIMIT);
  }
  if (!m_panel.ReadNumber(IDC_HOURS_LIMIT, params.hoursLimit) || params.hoursLimit > 100) {
    return RejectField(IDC_HOURS_LIMIT);
  }
  // A language module may list more entries than the program knows: a method or a number
  // of work threads beyond them is as invalid as no selection. Any priority beyond them
  // runs at the normal class.
  const struct {
    int list;
    std::uint32_t& index;
    std::uint32_t known;
  } lists[] = {{IDC_METHOD_LIST, params.methodIndex, 2},
               {IDC_THREADS_LIST, params.threadsIndex, 3},
               {IDC_PRIORITY_LIST, params.priorityIndex, UINT32_MAX}};
  for (const auto& [list, index, known] : lists) {
    const std::int32_t selection = m_panel.ReadSelection(list);
    index = static_cast<std::uint32_t>(selection);
    if (selection < 0 || index >= known) return RejectField(list);
  }
  params.logTesting = m_panel.ReadChecked(IDC_LOG_TESTING);
  params.alarmOnError = m_panel.ReadChecked(IDC_ALARM_ON_ERROR);
  params.highMemory = m_panel.ReadChecked(IDC_HIGH_MEMORY);
  params.minimizeOnStart = m_panel.ReadChecked(IDC_MINIMIZE_ON_START);
  params.hideWhenMinimized = m_panel.ReadChecked(IDC_HIDE_WHEN_MINIMIZED);

  const std::string caption = m_title + Text(kInitializing);
  m_panel.SetCaption(caption);
  SetTooltipText(caption);
  m_panel.EnableControl(ID_START_STOP, false);
  m_panel.EnableControl(ID_APP_EXIT, false);
  m_phase = Phase::Initializing;
  m_panel.PostCommand(ID_TEST_BEGIN);
  return true;
}

int CTestRunController::BeginTest() {
  if (m_phase != Phase::Initializing) return 0;
  std::string logPath =
      params.logTesting ? LogFileName(m_logFolder, m_panel.LocalTime(), "log") : "";
  const std::uint32_t threadsAsked = 1u << params.threadsIndex;
  // Asked for all the memory shown as available (or more): take what is available now.
  const std::uint32_t amountMb =
      params.memAvailableMb > params.memToTestMb ? params.memToTestMb : m_panel.AvailableMemoryMb();
  if (m_run.StartWorkers(static_cast<std::int32_t>(params.methodIndex), threadsAsked, amountMb,
                         cycleDelayMs, params.highMemory, std::move(logPath)) == 0) {
    RequestEnd(STOP_BY_USER);
    return 0;
  }

  m_panel.SetPriorityClass(params.priorityIndex < 3 ? kPriorityClasses[params.priorityIndex]
                                                    : kNormalPriorityClass);
  m_panel.Sleep(10);
  if (params.logTesting) {
    const std::string priority =
        m_panel.ReadListEntry(IDC_PRIORITY_LIST, static_cast<std::int32_t>(params.priorityIndex));
    m_run.LogStart({params.memToTestMb, params.memAvailableMb, params.methodIndex, priority,
                    threadsAsked, params.errorsLimit, params.hoursLimit});
  }
  if (params.minimizeOnStart) m_panel.PostMinimize();
  if (params.hoursLimit != 0) m_limitSeconds = std::int64_t{params.hoursLimit} * 3600;
  m_startTime = m_panel.CalendarSeconds();
  m_phase = Phase::Running;
  m_panel.EnableCompactMemory(false);
  m_panel.SetControlText(ID_START_STOP, Text(kStop));
  m_panel.EnableControl(ID_START_STOP, true);
  return 0;
}

bool CTestRunController::StopTest(std::uint16_t reason) {
  // A second request of the same run (both limits in one tick, a limit while the user's
  // stop is pending) would end it twice.
  if (m_phase != Phase::Running) return false;
  RequestEnd(reason);
  return true;
}

void CTestRunController::RequestEnd(std::uint16_t reason) {
  const std::string caption = m_title + Text(kStopping);
  m_panel.SetCaption(caption);
  SetTooltipText(caption);
  m_panel.EnableControl(ID_START_STOP, false);
  m_phase = Phase::Stopping;
  m_pendingReason = reason;
  m_panel.PostCommand(static_cast<std::uint32_t>(reason) << 16 | ID_TEST_END);
}

int CTestRunController::EndTest(std::uint16_t reason) {
  if (m_phase != Phase::Stopping) return 0;
  m_phase = Phase::Idle;
  // Releasing sets the iteration count to 0; the closing balloon needs the run's.
  const std::uint32_t cycleIterations = g_cycleIterations;
  m_run.ReleaseWorkers();
  m_panel.SetPriorityClass(kNormalPriorityClass);
  m_panel.Sleep(10);

  const std::string reasonText = Text(ReasonString(reason));
  m_run.LogFinish(reasonText);
  m_panel.EnableCompactMemory(true);
  m_panel.SetControlText(ID_START_STOP, Text(kStart));
  m_panel.EnableControl(ID_START_STOP, true);
  m_panel.EnableControl(ID_APP_EXIT, true);

  const std::string caption =
      Format(Text(kCaption).c_str(), m_title.c_str(), static_cast<int>(m_run.errorsFound()), "");
  m_panel.SetCaption(caption);
  SetTooltipText(caption);
  m_panel.SetTrayIcon(TrayIcon::Normal);

  // A run that tested nothing is always announced: the user may be watching a panel
  // that would otherwise look like an ordinary stop.
  if (!m_panel.IsVisible() || m_panel.IsMinimized() || reason == STOP_NO_TEST_MEMORY) {
    ShowBalloon(
        Format(Text(kResult).c_str(), reasonText.c_str(), static_cast<int>(m_run.errorsFound()),
               static_cast<int>(g_cycleCount.load()), CheckedPercent(cycleIterations)),
        m_run.errorsFound() > 0 ? BalloonIcon::Error : BalloonIcon::Info);
  }
  return 0;
}

void CTestRunController::EndRunForExit() {
  if (m_phase == Phase::Running) StopTest(STOP_BY_USER);
  if (m_phase == Phase::Stopping) EndTest(m_pendingReason);
}

double CTestRunController::CheckedPercent(std::uint32_t cycleIterations) const {
  return ::CheckedPercent(g_cycleCount, cycleIterations, params.memToTestMb);
}
