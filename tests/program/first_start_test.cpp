// The program's first start in a fresh folder: what the panel shows, the per-user key,
// a second copy, minimizing and hiding, and Exit with its exit code and settings.

#include <gtest/gtest.h>

#include "panel.h"
#include "program_copy.h"
#include "program_process.h"
#include "user_language_key.h"
#include "wait_until.h"

namespace program_driver {
namespace {

constexpr DWORD kExitCode = 57665;

TEST(FirstStart, ShowsDefaultsStaysSingleHidesAndExitsWithItsCode) {
  const LanguageValueGuard language;
  ASSERT_TRUE(DeleteUserKey()) << "the key has subkeys; this test needs it to start absent";
  const ProgramCopy program;
  const test_support::TempFolder elsewhere;
  const ProgramProcess process(program.Executable(), elsewhere.Path().string());
  const Panel panel(process.Id());
  ASSERT_TRUE(panel.Found()) << "no panel appeared";

  EXPECT_EQ(panel.Caption(), "Sieveline");
  EXPECT_TRUE(UserKeyExists());
  // "Memory to test" starts at the memory available; the idle tick may since have found
  // more available (the test field stays) or less (the test field follows it down).
  const unsigned long available = std::stoul(panel.Text(kMemAvailable));
  const unsigned long toTest = std::stoul(panel.Text(kMemToTest));
  EXPECT_LE(toTest, available);
  EXPECT_GE(toTest, available / 2);
  EXPECT_GE(std::stoul(panel.Text(kMemTotal)), available);
  EXPECT_EQ(panel.Text(kMethodList), "random");
  EXPECT_EQ(panel.Text(kPriorityList), "normal");
  EXPECT_EQ(panel.Text(kThreadsList), "one");
  EXPECT_FALSE(panel.Enabled(kThreadsList));
  EXPECT_EQ(panel.Text(kStartStop), "Start");

  // A second copy restores the minimized first one and ends at once with 0.
  panel.PostSystemCommand(SC_MINIMIZE);
  ASSERT_TRUE(WaitUntil([&] { return panel.Minimized(); })) << "the panel did not minimize";
  {
    const ProgramProcess second(program.Executable(), elsewhere.Path().string());
    DWORD secondExit = 1;
    ASSERT_TRUE(second.WaitForExit(secondExit)) << "the second copy kept running";
    EXPECT_EQ(secondExit, 0u);
  }
  EXPECT_TRUE(WaitUntil([&] { return !panel.Minimized() && panel.Visible(); }))
      << "the first copy's panel was not restored";
  EXPECT_TRUE(process.Running());

  // "Hide when minimized" takes effect as soon as it is ticked; the tray brings it back.
  panel.Click(kHideWhenMinimized);
  ASSERT_TRUE(panel.Checked(kHideWhenMinimized));
  panel.PostSystemCommand(SC_MINIMIZE);
  EXPECT_TRUE(WaitUntil([&] { return !panel.Visible(); })) << "the panel was not hidden";
  EXPECT_FALSE(panel.Minimized());
  panel.PostTrayDoubleClick();
  EXPECT_TRUE(WaitUntil([&] { return panel.Visible(); })) << "the tray did not open the panel";

  panel.Click(kExit);
  DWORD exitCode = 0;
  ASSERT_TRUE(process.WaitForExit(exitCode)) << "Exit did not end the program";
  EXPECT_EQ(exitCode, kExitCode);
  const std::string settings = program.SettingsPath();
  EXPECT_EQ(ProfileText(settings, "setup", "method"), "0");
  EXPECT_EQ(ProfileText(settings, "setup", "signal"), "1");
  EXPECT_EQ(ProfileText(settings, "setup", "topmem"), "0");
  EXPECT_EQ(ProfileText(settings, "setup", "errlog"), "1");
  EXPECT_TRUE(program.LogFiles().empty());
}

// The compaction dialog takes nearly all free memory while it is open, so it is closed at
// once; Escape must not close it, OK must, and every byte must come back.
TEST(FirstStart, CompactionDialogShowsTheMemoryAndGivesItAllBack) {
  const ProgramCopy program;
  program.WriteSettings("[tweak]\r\ncompact=1\r\n");
  const test_support::TempFolder elsewhere;
  const ProgramProcess process(program.Executable(), elsewhere.Path().string());
  const Panel panel(process.Id());
  ASSERT_TRUE(panel.Found()) << "no panel appeared";
  const SIZE_T committed = process.CommittedBytes();

  panel.PostSystemCommand(0x4210);
  const HWND box = WaitForDialog(process.Id(), "Memory compacting...");
  ASSERT_TRUE(box) << "no compaction dialog";
  // The box is found by its caption before it has filled its labels.
  std::string total;
  EXPECT_TRUE(WaitUntil([&] {
    char text[16] = {};
    SendMessageA(GetDlgItem(box, kMemTotal), WM_GETTEXT, sizeof text,
                 reinterpret_cast<LPARAM>(text));
    total = text;
    return total == panel.Text(kMemTotal);
  })) << "total shown: "
      << total;
  SendMessageA(box, WM_COMMAND, IDCANCEL, 0);
  EXPECT_TRUE(IsWindow(box)) << "Escape closed it";
  ASSERT_TRUE(PressAndWaitClosed(box, IDOK));

  EXPECT_LE(process.CommittedBytes(), committed + (8 << 20));
  panel.Click(kExit);
  DWORD exitCode = 0;
  ASSERT_TRUE(process.WaitForExit(exitCode));
  EXPECT_EQ(exitCode, kExitCode);
}

}  // namespace
}  // namespace program_driver
