#include "diag/append_log.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>

#include "support/temp_folder.h"

namespace {

using test_support::ReadFile;
using test_support::TempFolder;

TEST(AppendLog, EveryLineFeedIsStoredAsCarriageReturnLineFeed) {
  TempFolder folder;
  const std::string log = folder.File("a.log");
  EXPECT_EQ(AppendLog(log.c_str(), "a\n"), 2);
  EXPECT_EQ(AppendLog(log.c_str(), "b\n"), 2);
  EXPECT_EQ(AppendLog(log.c_str(), "two\nlines %i\n", 7), 12);
  EXPECT_EQ(ReadFile(log), "a\r\nb\r\ntwo\r\nlines 7\r\n");
}

TEST(AppendLog, FormatsStringTableEntriesAndPointersThePortableWay) {
  TempFolder folder;
  const std::string log = folder.File("entries.log");
  AppendLog(log.c_str(), TextId(5012), 3u, 4u);
  AppendLog(log.c_str(), "%p|", std::uint64_t{0xABCDEF});
  EXPECT_EQ(ReadFile(log),
            "**Warning: 3 work thread(s) of 4 started\r\n"
            "0000000000ABCDEF|");
}

TEST(AppendLog, CutsTheTextAt510Characters) {
  TempFolder folder;
  const std::string log = folder.File("long.log");
  const std::string long_text(600, 'x');
  EXPECT_EQ(AppendLog(log.c_str(), "%s\n", long_text.c_str()), 510);
  EXPECT_EQ(ReadFile(log), std::string(510, 'x'));
}

TEST(AppendLog, AMissingFormatWritesNothingVisible) {
  TempFolder folder;
  const std::string log = folder.File("empty.log");
  EXPECT_EQ(AppendLog(log.c_str(), TextId(4999)), 0);
  EXPECT_EQ(AppendLog(log.c_str(), nullptr), 0);
  EXPECT_EQ(ReadFile(log), "");
}

TEST(AppendLog, AFileThatCannotBeOpenedLosesTheLineButNotTheCount) {
  TempFolder folder;
  const std::string log = folder.File("no-such-folder/x.log");
  EXPECT_EQ(AppendLog(log.c_str(), "lost %s\n", "line"), 10);
  EXPECT_FALSE(std::filesystem::exists(log));
}

TEST(AppendLog, WithoutAFileWritesTheDiagnosticsLogInTheCurrentFolder) {
  TempFolder folder;
  const auto previous = std::filesystem::current_path();
  std::filesystem::current_path(folder.Path());
  AppendLog(nullptr, "diagnostic\n");
  std::filesystem::current_path(previous);
  EXPECT_EQ(ReadFile(folder.File("qv_tools.log")), "diagnostic\r\n");
}

}  // namespace
