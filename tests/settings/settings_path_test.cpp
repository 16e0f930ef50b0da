#include "settings/settings_path.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/paths.h"
#include "support/temp_folder.h"

namespace {

TEST(SettingsPath, TheExtensionBecomesIniOrIniIsAppended) {
  const struct {
    const char* executable;
    const char* settings;
  } cases[] = {
      {"C:\\Tools\\kt.exe", "C:\\Tools\\kt.ini"},
      {"C:\\My Tools\\kt.exe", "C:\\My Tools\\kt.ini"},
      {"/opt/sieveline/sieveline", "/opt/sieveline/sieveline.ini"},
      {"C:\\v1.2\\kt", "C:\\v1.2\\kt.ini"},
      {"/home/me/v1.2/kt", "/home/me/v1.2/kt.ini"},
      {"C:\\Tools\\kt.tar.gz", "C:\\Tools\\kt.tar.ini"},
      {"C:\\Tools\\kt.", "C:\\Tools\\kt.ini"},
      // An extension holds no space, so this name has none.
      {"C:\\Tools\\kt.beta test", "C:\\Tools\\kt.beta test.ini"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(SettingsPathFor(c.executable), c.settings);
  }
}

TEST(SettingsPath, LiesBesideTheRunningExecutableAndSaysWhetherAFileIsThere) {
  std::string executable;
  ASSERT_TRUE(platform::GetExecutablePath(executable));
  EXPECT_TRUE(platform::FileExists(executable));

  std::string path;
  const bool existed = GetSettingsPath(path);
  EXPECT_EQ(path, SettingsPathFor(executable));
  ASSERT_FALSE(existed) << "a settings file was left beside the test: " << path;

  test_support::WriteFile(path, "");
  EXPECT_TRUE(GetSettingsPath(path));
  std::remove(path.c_str());
  EXPECT_FALSE(GetSettingsPath(path));
}

}  // namespace
