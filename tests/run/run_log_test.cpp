#include "run/run_log.h"

#include <gtest/gtest.h>

#include <cctype>

#include "platform/paths.h"
#include "support/temp_folder.h"

namespace {

using test_support::ReadFile;
using test_support::TempFolder;

constexpr platform::LocalTime kStart{2006, 12, 31, 23, 59, 59};
constexpr platform::LocalTime kAfterMidnight{2007, 1, 1, 0, 0, 7};

TEST(TestLogName, CarriesTheStartTimeInTheExecutablesFolder) {
  EXPECT_EQ(LogFileName("", {2006, 3, 7, 9, 5, 2}, "log"), "TOVA_20060307_090502.log");
  const std::string folder = std::string("logs") + platform::kPathSeparator;
  EXPECT_EQ(LogFileName(folder, kStart, "log"), folder + "TOVA_20061231_235959.log");
  EXPECT_EQ(LogFileName("logs", kStart, "txt"), folder + "TOVA_20061231_235959.txt");

  std::string executable;
  ASSERT_TRUE(platform::GetExecutablePath(executable));
  const std::string made = MakeLogFileName("log");
  const std::size_t nameStart = made.find_last_of(platform::kPathSeparator) + 1;
  EXPECT_EQ(made.substr(0, nameStart),
            executable.substr(0, executable.find_last_of(platform::kPathSeparator) + 1));
  // TOVA_yyyymmdd_hhmmss.log
  const std::string name = made.substr(nameStart);
  ASSERT_EQ(name.size(), 24u) << name;
  EXPECT_EQ(name.substr(0, 5), "TOVA_");
  EXPECT_EQ(name[13], '_');
  EXPECT_EQ(name.substr(20), ".log");
  for (const std::size_t digit : {5, 6, 7, 8, 9, 10, 11, 12, 14, 15, 16, 17, 18, 19}) {
    EXPECT_TRUE(std::isdigit(static_cast<unsigned char>(name[digit]))) << name;
  }
}

TEST(TestLog, AWholeRunIsWrittenByteForByte) {
  TempFolder folder;
  const std::string log = folder.File(LogFileName("", kStart, "log"));
  WriteStartEntry(log, kStart, {3000, 3512, 1, "above", 4, 10, 2});
  WriteWarningEntry(log, 3, 4);
  WriteErrorEntry(log, 1, 12, 37.5, {0x55, 0x57}, kStart);
  WriteErrorEntry(log, 2, 1234, 99.97, {0xFFFFFFFFFFFFFFFF, 0x7FFFFFFFFFFFFFFF}, kAfterMidnight);
  WriteFinishEntry(log, kAfterMidnight, 5102);

  EXPECT_EQ(ReadFile(log),
            "Started 23:59:59\r\n"
            "memory: 3000 of 3512 Mb, method: 1, priority: above, work threads: 4, errstop: 10, "
            "hrsstop: 2\r\n"
            "**Warning: 3 work thread(s) of 4 started\r\n"
            "Error 1, out of 12 cycles, (38% checked) - 0000000000000055 vs 0000000000000057 "
            "(0000000000000002), 23:59:59\r\n"
            "Error 2, out of 1234 cycles, (100% checked) - FFFFFFFFFFFFFFFF vs 7FFFFFFFFFFFFFFF "
            "(8000000000000000), 00:00:07\r\n"
            "Finished 00:00:07 (reason: errors limit was exceeded)\r\n");
}

TEST(TestLog, ASecondRunOfTheSameSecondAppendsAndEveryReasonHasItsText) {
  TempFolder folder;
  const std::string log = folder.File("same.log");
  WriteFinishEntry(log, kStart, 5101);
  WriteFinishEntry(log, kStart, 5103);
  WriteFinishEntry(log, kStart, 5104);
  EXPECT_EQ(ReadFile(log),
            "Finished 23:59:59 (reason: terminated by user)\r\n"
            "Finished 23:59:59 (reason: time limit was exceeded)\r\n"
            "Finished 23:59:59 (reason: unknown)\r\n");
}

TEST(TestLog, ViewLogQuotesThePathForTheEditor) {
  EXPECT_EQ(ViewLogCommandLine("C:\\Program Files\\Sieveline\\TOVA_20060307_090502.log"),
            "notepad.exe \"C:\\Program Files\\Sieveline\\TOVA_20060307_090502.log\"");
}

}  // namespace
