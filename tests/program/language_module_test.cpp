// The language module is data, never code, and is taken only from the program's own
// folder and only for a "Language" value of the right type. kt1049.dll, built for this
// test, names the program "Sieveline (1049)" and leaves a file beside itself if its
// entry point ever runs.

#include <gtest/gtest.h>

#include <filesystem>

#include "panel.h"
#include "program_copy.h"
#include "program_process.h"
#include "user_language_key.h"
#include "wait_until.h"

namespace program_driver {
namespace {

constexpr DWORD kRussian = 1049;
const std::string kModule = "kt1049.dll";
const std::string kRanMarker = "kt1049.dll.ran";

// Starts the program from `currentDirectory` and returns its panel's caption.
std::string CaptionOfProgram(const ProgramCopy& program, const std::string& currentDirectory) {
  const ProgramProcess process(program.Executable(), currentDirectory);
  const Panel panel(process.Id());
  if (!panel.Found()) return "no panel";
  const std::string caption = panel.Caption();
  panel.Click(kExit);
  DWORD exitCode = 0;
  process.WaitForExit(exitCode);
  return caption;
}

TEST(LanguageModule, IsLoadedAsDataFromTheProgramsFolderOnly) {
  // The marker works: loading the module as code leaves it.
  const test_support::TempFolder scratch;
  const std::string loadedAsCode = scratch.File(kModule);
  ASSERT_TRUE(CopyFileA(BuildTreePath(KT1049_DLL).c_str(), loadedAsCode.c_str(), FALSE));
  FreeLibrary(LoadLibraryA(loadedAsCode.c_str()));
  ASSERT_TRUE(std::filesystem::exists(scratch.File(kRanMarker)));

  const LanguageValueGuard language;
  SetLanguageValue(REG_DWORD, &kRussian, sizeof kRussian);
  {
    const ProgramCopy program;
    program.Add(KT1049_DLL);
    EXPECT_EQ(CaptionOfProgram(program, scratch.Path().string()), "Sieveline (1049)");
    EXPECT_FALSE(std::filesystem::exists(program.File(kRanMarker)));

    // Only a REG_DWORD is a language, even when other data holds the same four bytes.
    SetLanguageValue(REG_BINARY, &kRussian, sizeof kRussian);
    EXPECT_EQ(CaptionOfProgram(program, scratch.Path().string()), "Sieveline");
    SetLanguageValue(REG_DWORD, &kRussian, sizeof kRussian);
  }
  // The current folder at launch is not searched for the module.
  const test_support::TempFolder launchFolder;
  ASSERT_TRUE(
      CopyFileA(BuildTreePath(KT1049_DLL).c_str(), launchFolder.File(kModule).c_str(), FALSE));
  const ProgramCopy program;
  EXPECT_EQ(CaptionOfProgram(program, launchFolder.Path().string()), "Sieveline");
  EXPECT_FALSE(std::filesystem::exists(launchFolder.File(kRanMarker)));
}

}  // namespace
}  // namespace program_driver
