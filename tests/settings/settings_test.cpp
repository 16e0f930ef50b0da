#include "settings/settings.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

#include "support/temp_folder.h"

namespace {

// The values that the file holds.
struct Stored {
  bool logTesting, alarmOnError, highMemory;
  std::uint32_t methodIndex;
  bool flashOnError, useThemes, allowCompact, confirmActions, allowThreadChoice;
  std::uint32_t cycleDelayMs;
  bool operator==(const Stored&) const = default;
};

Stored StoredOf(const Settings& s) {
  return {s.logTesting, s.alarmOnError, s.highMemory,     s.methodIndex,       s.flashOnError,
          s.useThemes,  s.allowCompact, s.confirmActions, s.allowThreadChoice, s.cycleDelayMs};
}

void PrintTo(const Stored& s, std::ostream* out) {
  *out << "errlog " << s.logTesting << " signal " << s.alarmOnError << " topmem " << s.highMemory
       << " method " << s.methodIndex << " blinks " << s.flashOnError << " themes " << s.useThemes
       << " compact " << s.allowCompact << " confirm " << s.confirmActions << " threads "
       << s.allowThreadChoice << " timeout " << s.cycleDelayMs;
}

constexpr Stored kDefaults{true, true, false, 0, false, true, false, true, false, 0};
constexpr const char* kDefaultSetup = "[setup]\r\nmethod=0\r\nsignal=1\r\ntopmem=0\r\nerrlog=1\r\n";

struct Case {
  const char* name;
  std::optional<std::string> file;  // none: no file
  Stored loaded;
  std::optional<std::string> saved;  // none: not compared as a whole
};

// Every case loads, saves what it loaded and loads again. The Windows build runs the
// table against the system's profile functions, the native build against its own.
TEST(Settings, LoadSaveAndLoadAgain) {
  const std::string kTweak =
      "[tweak]\r\nblinks=1\r\nthemes=0\r\ncompact=1\r\nconfirm=0\r\nthreads=1\r\ntimeout=250\r\n";
  const Case cases[] = {
      {"no file", std::nullopt, kDefaults, kDefaultSetup},
      {"empty file", "", kDefaults, kDefaultSetup},
      {"only tweaks",
       kTweak,
       {true, true, false, 0, true, false, true, false, true, 250},
       kTweak + kDefaultSetup},
      {"every key",
       "[setup]\r\nmethod=1\r\nsignal=0\r\ntopmem=1\r\nerrlog=0\r\n" + kTweak,
       {false, false, true, 1, true, false, true, false, true, 250},
       "[setup]\r\nmethod=1\r\nsignal=0\r\ntopmem=1\r\nerrlog=0\r\n" + kTweak},
      {"odd numbers",
       "[setup]\r\nmethod=7\r\nsignal=-1\r\ntopmem=12abc\r\nerrlog=abc\r\n"
       "[tweak]\r\ntimeout=-1\r\nthemes=\r\nconfirm=2147483648\r\n",
       {false, false, true, 2, false, true, false, false, false, 0},
       "[setup]\r\nmethod=2\r\nsignal=0\r\ntopmem=1\r\nerrlog=0\r\n"
       "[tweak]\r\ntimeout=-1\r\nthemes=\r\nconfirm=2147483648\r\n"},
      {"negative method", "[setup]\r\nmethod=-1\r\n", kDefaults, kDefaultSetup},
      {"keys outside their section",
       "errlog=0\r\n[tweak]\r\nsignal=0\r\n[setup]\r\ntimeout=250\r\n", kDefaults,
       "errlog=0\r\n[tweak]\r\nsignal=0\r\n[setup]\r\ntimeout=250\r\n"
       "method=0\r\nsignal=1\r\ntopmem=0\r\nerrlog=1\r\n"},
      // The Windows writer tidies blanks and empty lines where this build keeps them.
      {"odd whitespace and case",
       "  [ SETUP ]  \r\n\tMethod =  7 \r\n\r\n[Tweak]\r\n timeout = 250\r\nBLINKS=1\r\n",
       {true, true, false, 2, true, true, false, true, false, 250},
       std::nullopt},
  };
  test_support::TempFolder folder;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // A file per case: the Windows functions may keep a file they have read in memory.
    const std::string path = folder.File(std::string(c.name) + ".ini");
    if (c.file) test_support::WriteFile(path, *c.file);

    Settings settings;
    LoadSettings(settings, path);
    EXPECT_EQ(StoredOf(settings), c.loaded);
    SaveSettings(settings, path);
    if (c.saved) {
      EXPECT_EQ(test_support::ReadFile(path), *c.saved);
    }

    Settings again;
    LoadSettings(again, path);
    EXPECT_EQ(StoredOf(again), c.loaded);
  }
}

TEST(Settings, SaveWritesTheRecordAsItIsNow) {
  test_support::TempFolder folder;
  const std::string path = folder.File("kt.ini");
  test_support::WriteFile(path, "[setup]\r\nerrlog=1\r\n[tweak]\r\nblinks=1\r\n");
  Settings settings;
  LoadSettings(settings, path);
  settings.methodIndex = 1;
  settings.alarmOnError = false;
  settings.highMemory = true;
  settings.logTesting = false;
  SaveSettings(settings, path);
  EXPECT_EQ(test_support::ReadFile(path),
            "[setup]\r\nerrlog=0\r\nmethod=1\r\nsignal=0\r\ntopmem=1\r\n[tweak]\r\nblinks=1\r\n");
}

TEST(Settings, LoadStartsThePanelValuesAfreshAndMeasuresMemory) {
  Settings settings;
  settings.memToTestMb = 1;
  settings.errorsLimit = 5;
  settings.hoursLimit = 6;
  settings.priorityIndex = 2;
  settings.threadsIndex = 2;
  settings.minimizeOnStart = true;
  settings.hideWhenMinimized = true;
  settings.running = true;
  settings.modalOpen = true;
  settings.methodIndex = 1;
  // An empty path, as when the executable's own path is unknown: defaults only.
  LoadSettings(settings, "");

  EXPECT_EQ(StoredOf(settings), kDefaults);
  EXPECT_GT(settings.memAvailableMb, 0u);
  EXPECT_GT(settings.memTotalMb, settings.memAvailableMb);
  EXPECT_EQ(settings.memToTestMb, settings.memAvailableMb);
  EXPECT_EQ(settings.errorsLimit, 0u);
  EXPECT_EQ(settings.hoursLimit, 0u);
  EXPECT_EQ(settings.priorityIndex, 0u);
  EXPECT_EQ(settings.threadsIndex, 0u);
  EXPECT_FALSE(settings.minimizeOnStart);
  EXPECT_FALSE(settings.hideWhenMinimized);
  EXPECT_FALSE(settings.running);
  EXPECT_FALSE(settings.modalOpen);
}

}  // namespace
