// 16 MB test runs driven from the panel: a refused field, Start, a fault planted in the
// running program's memory found and logged, Stop, an exit during a run that asks; the
// About box during a run; and twenty runs that leave nothing behind.

#include <gtest/gtest.h>

#include <cinttypes>
#include <cstdio>
#include <regex>

#include "panel.h"
#include "planted_fault.h"
#include "program_copy.h"
#include "program_process.h"
#include "wait_until.h"

namespace program_driver {
namespace {

constexpr std::uint64_t kShareBytes = 16 << 20;
// One worker with the shuffling method, its second buffer high, a pause after each cycle.
constexpr const char* kSettings =
    "[setup]\r\nerrlog=1\r\nsignal=0\r\ntopmem=1\r\nmethod=1\r\n"
    "[tweak]\r\ntimeout=2000\r\n";
constexpr WPARAM kAboutCommand = 0x4200;
constexpr const char* kConfirmExit =
    "Are you sure you want to stop testing and quit the application?";
const std::string kTime = R"(\d\d:\d\d:\d\d)";

std::string Hex(std::uint64_t word) {
  char text[17];
  std::snprintf(text, sizeof text, "%016" PRIX64, word);
  return text;
}

std::string StartEntry(const std::string& available) {
  return "Started " + kTime + "\r\nmemory: 16 of " + available +
         " Mb, method: 1, priority: normal, work threads: 1, errstop: 0, hrsstop: 0\r\n";
}

std::string FinishEntry() {
  return "Finished " + kTime + R"( \(reason: terminated by user\)\r\n)";
}

// The caption of a run's status, with its spinner, comes once a cycle has ended.
bool Running(const Panel& panel) {
  const std::string caption = panel.Caption();
  return panel.Text(kStartStop) == "Stop" && caption.starts_with("Sieveline: 0 errors ") &&
         caption != "Sieveline: 0 errors ";
}

bool Stopped(const Panel& panel) {
  return panel.Text(kStartStop) == "Start" && panel.Caption() == "Sieveline: 0 errors ";
}

TEST(TestRun, FindsAPlantedFaultLogsItAndAsksBeforeQuitting) {
  const ProgramCopy program;
  program.WriteSettings(kSettings);
  const test_support::TempFolder elsewhere;
  const ProgramProcess process(program.Executable(), elsewhere.Path().string());
  const Panel panel(process.Id());
  ASSERT_TRUE(panel.Found()) << "no panel appeared";

  panel.Type(kMemToTest, "5");
  panel.Click(kStartStop);
  EXPECT_EQ(panel.Caption(), "Sieveline");
  EXPECT_EQ(panel.Text(kStartStop), "Start");
  EXPECT_TRUE(panel.Focused(kMemToTest));
  EXPECT_TRUE(program.LogFiles().empty());

  panel.Type(kMemToTest, "16");
  panel.Click(kStartStop);
  EXPECT_EQ(panel.Caption(), "Sieveline: initializing...");
  ASSERT_TRUE(WaitUntil([&] { return Running(panel); })) << panel.Caption();
  EXPECT_FALSE(panel.Enabled(kExit));
  const std::string available = panel.Text(kMemAvailable);

  PlantedFault fault;
  std::string why;
  ASSERT_TRUE(PlantFault(process.Handle(), kShareBytes, fault, why)) << why;
  EXPECT_TRUE(WaitUntil([&] { return panel.Text(kErrorsFound) == "1"; })) << "fault not found";
  EXPECT_TRUE(WaitUntil([&] { return panel.Caption().starts_with("Sieveline: 1 errors "); }));
  EXPECT_TRUE(std::regex_match(panel.Text(kTimeElapsed), std::regex(kTime)));

  panel.Click(kStartStop);
  EXPECT_TRUE(WaitUntil([&] { return panel.Caption() == "Sieveline: 1 errors "; }));
  EXPECT_EQ(panel.Text(kStartStop), "Start");
  EXPECT_TRUE(panel.Enabled(kExit));
  EXPECT_EQ(panel.Text(kErrorsFound), "1");

  // A second run, left by closing the panel: No keeps it going, Yes ends it and the program.
  panel.Click(kStartStop);
  ASSERT_TRUE(WaitUntil([&] { return Running(panel); })) << panel.Caption();
  std::string question;
  panel.PostSystemCommand(SC_CLOSE);
  ASSERT_TRUE(AnswerWarning(process.Id(), IDNO, question));
  EXPECT_EQ(question, kConfirmExit);
  const std::string cycles = panel.Text(kCycles);
  EXPECT_TRUE(WaitUntil([&] { return panel.Text(kCycles) != cycles; })) << "the run stopped";
  EXPECT_EQ(panel.Text(kStartStop), "Stop");
  panel.PostSystemCommand(SC_CLOSE);
  ASSERT_TRUE(AnswerWarning(process.Id(), IDYES, question));
  DWORD exitCode = 0;
  ASSERT_TRUE(process.WaitForExit(exitCode)) << "the program did not end";
  EXPECT_EQ(exitCode, 57665u);

  // Both runs' entries, in order; two runs in the same second share one file.
  std::string log;
  for (const std::string& file : program.LogFiles()) log += test_support::ReadFile(file);
  std::smatch error;
  const std::regex expected(StartEntry(available) + R"(Error 1, out of (\d+) cycles, \((\d+)% )" +
                            "checked\\) - " + Hex(fault.first) + " vs " + Hex(fault.second) +
                            " \\(" + Hex(fault.first ^ fault.second) + "\\), " + kTime + "\r\n" +
                            FinishEntry() + StartEntry(available) + FinishEntry());
  ASSERT_TRUE(std::regex_match(log, error, expected)) << log;
  // A cycle of one 16 MB worker checks its memory once: ten percent on the shown scale.
  EXPECT_EQ(std::stoul(error[2]), 10 * std::stoul(error[1]));
}

TEST(TestRun, KeepsTickingBehindTheAboutBoxAndLeavesNothingBehindAfterTwentyRuns) {
  const ProgramCopy program;
  program.WriteSettings("[setup]\r\nerrlog=0\r\nsignal=0\r\n");
  const test_support::TempFolder elsewhere;
  const ProgramProcess process(program.Executable(), elsewhere.Path().string());
  const Panel panel(process.Id());
  ASSERT_TRUE(panel.Found()) << "no panel appeared";
  panel.Type(kMemToTest, "16");

  auto run = [&](bool openAbout) {
    panel.Click(kStartStop);
    ASSERT_TRUE(WaitUntil([&] { return Running(panel); })) << panel.Caption();
    if (openAbout) {
      panel.PostSystemCommand(kAboutCommand);
      HWND about = WaitForDialog(process.Id(), "About");
      ASSERT_TRUE(about) << "no About box";
      const std::string cycles = panel.Text(kCycles);
      // A modal box tells its owner that it is idle each time its queue runs empty, so the
      // pointer moves over it, as a user's would.
      EXPECT_TRUE(WaitUntil([&] {
        PostMessageA(about, WM_MOUSEMOVE, 0, 0);
        return panel.Text(kCycles) != cycles;
      })) << "no status behind the About box; owner "
          << GetWindow(about, GW_OWNER);
      ASSERT_TRUE(PressAndWaitClosed(about, IDOK));
    }
    panel.Click(kStartStop);
    ASSERT_TRUE(WaitUntil([&] { return Stopped(panel); })) << panel.Caption();
  };
  // What a first run and the About box set up once lasts for the process's life, so the
  // counts are taken after them.
  ASSERT_NO_FATAL_FAILURE(run(true));
  const DWORD handles = process.HandleCount();
  const DWORD threads = process.ThreadCount();
  const SIZE_T committed = process.CommittedBytes();
  ASSERT_GT(handles, 0u);
  ASSERT_GT(committed, 0u);
  for (int i = 0; i < 20; ++i) ASSERT_NO_FATAL_FAILURE(run(false));
  // One run's buffers alone are 16 MB.
  EXPECT_EQ(process.ThreadCount(), threads);
  EXPECT_LE(process.HandleCount(), handles + 10);
  EXPECT_LE(process.CommittedBytes(), committed + (8 << 20));
}

}  // namespace
}  // namespace program_driver
