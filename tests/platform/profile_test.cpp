#include "platform/profile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "support/temp_folder.h"

// One table for both builds: the Windows build runs it against the system's profile
// functions (under Wine in development), the native build against its own reader and
// writer, which must give the same results.

namespace {

constexpr std::uint32_t kFallback = 42;

struct ReadCase {
  const char* file;
  std::uint32_t expected;
};

TEST(Profile, ReadsNumbersTheWayTheWindowsReaderDoes) {
  const ReadCase cases[] = {
      // Values: sign, base prefix and wrap-around as 32 bits; an empty value is missing.
      {"[setup]\r\nmethod=12abc\r\n", 12},
      {"[setup]\r\nmethod=-1\r\n", 0xFFFFFFFF},
      {"[setup]\r\nmethod= 7\r\n", 7},
      {"[setup]\r\nmethod=abc\r\n", 0},
      {"[setup]\r\nmethod=\r\n", kFallback},
      {"[setup]\r\nmethod=  \t\r\n", kFallback},
      {"[setup]\r\nmethod=+3\r\n", 3},
      {"[setup]\r\nmethod=--1\r\n", 0},
      {"[setup]\r\nmethod=0x10\r\n", 16},
      {"[setup]\r\nmethod=0X10\r\n", 0},
      {"[setup]\r\nmethod=0b101\r\n", 5},
      {"[setup]\r\nmethod=017\r\n", 17},
      {"[setup]\r\nmethod=-0x10\r\n", 0xFFFFFFF0},
      {"[setup]\r\nmethod=4294967296\r\n", 0},
      {"[setup]\r\nmethod=99999999999\r\n", 1215752191},
      {"[setup]\r\nmethod=000000000000000000000000000001\r\n", 0},  // only 29 characters count
      {"[setup]\r\nmethod=1 2 ;note\r\n", 1},
      {"[setup]\r\nmethod=\"5\"\r\n", 5},
      {"[setup]\r\nmethod='3'\r\n", 3},
      {"[setup]\r\nmethod=\"\"\r\n", kFallback},
      {"[setup]\r\nmethod=\"5\r\n", 0},
      {"[setup]\r\nmethod==3\r\n", 0},
      // Lines: names without regard to case or blanks, first section and first key count.
      {"\t[ SETUP ] note\r\n  Method\t=  3  \r\n", 3},
      {"[setup]\r\nmethod\r\nmethod=3\r\n", kFallback},
      {"[setup]\r\nmethod=3\r\nmethod=4\r\n", 3},
      {"[setup]\r\n[setup]\r\nmethod=3\r\n", kFallback},
      {"[setup]\r\nother=1\r\n[more]\r\nmethod=3\r\n", kFallback},
      {"method=3\r\n[setup]\r\n", kFallback},
      {"[setup\r\nmethod=3\r\n", kFallback},
      {"[setup]]\r\nmethod=3\r\n", kFallback},
      {"[setup]\nmethod=3", 3},
      {"[setup]\rmethod=3\r", 3},
      {"\xEF\xBB\xBF[setup]\r\nmethod=3\r\n", 3},
      {"\x1A[setup]\r\nmethod\x1A=3\r\n", 3},
  };
  test_support::TempFolder folder;
  int number = 0;
  for (const ReadCase& c : cases) {
    SCOPED_TRACE(c.file);
    // A file per case: the Windows functions may keep a file they have read in memory.
    const std::string path = folder.File("read" + std::to_string(number++) + ".ini");
    test_support::WriteFile(path, c.file);
    EXPECT_EQ(platform::ReadProfileInt(path, "setup", "method", kFallback), c.expected);
  }
  EXPECT_EQ(platform::ReadProfileInt(folder.File("none.ini"), "setup", "method", kFallback),
            kFallback);
}

struct WriteCase {
  const char* before;  // null: no file
  const char* after;
};

TEST(Profile, WritesOneKeyAndKeepsTheOtherLines) {
  const WriteCase cases[] = {
      {nullptr, "[setup]\r\nmethod=1\r\n"},
      {"", "[setup]\r\nmethod=1\r\n"},
      {"[tweak]\nblinks=1", "[tweak]\r\nblinks=1\r\n[setup]\r\nmethod=1\r\n"},
      {"[Setup]\r\n  METHOD = 7 \r\nsignal=0\r\n", "[Setup]\r\nMETHOD=1\r\nsignal=0\r\n"},
      {"[setup]\r\nmethod\r\nmethod=3\r\n", "[setup]\r\nmethod=1\r\nmethod=3\r\n"},
      {"[setup]\r\nsignal=0\r\n; note\r\n[tweak]\r\nblinks=1\r\n",
       "[setup]\r\nsignal=0\r\n; note\r\nmethod=1\r\n[tweak]\r\nblinks=1\r\n"},
      {"[setup]\r\nsignal=0\r\n[setup]\r\nmethod=2\r\n",
       "[setup]\r\nsignal=0\r\nmethod=1\r\n[setup]\r\nmethod=2\r\n"},
      {"\xEF\xBB\xBF[setup]\r\nmethod=0\r\n", "\xEF\xBB\xBF[setup]\r\nmethod=1\r\n"},
  };
  test_support::TempFolder folder;
  int number = 0;
  for (const WriteCase& c : cases) {
    SCOPED_TRACE(c.before ? c.before : "no file");
    const std::string path = folder.File("write" + std::to_string(number++) + ".ini");
    if (c.before) test_support::WriteFile(path, c.before);
    EXPECT_TRUE(platform::WriteProfileText(path, "setup", "method", "1"));
    EXPECT_EQ(test_support::ReadFile(path), c.after);
  }
  EXPECT_FALSE(platform::WriteProfileText(folder.File("missing/x.ini"), "setup", "k", "1"));
}

}  // namespace
