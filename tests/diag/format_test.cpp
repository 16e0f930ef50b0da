#include "diag/format.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

std::string FormatInto(std::size_t size, const char* format, ...) {
  std::string buffer(size, '#');
  va_list arguments;
  va_start(arguments, format);
  const std::size_t written = FormatV(buffer.data(), size, format, arguments);
  va_end(arguments);
  EXPECT_EQ(buffer[written], '\0');
  return buffer.substr(0, written);
}

TEST(Format, PointerDirectiveIsSixteenUpperCaseHexDigits) {
  EXPECT_EQ(Format("%p vs %p (%p)", std::uint64_t{0x55}, std::uint64_t{0x57}, std::uint64_t{2}),
            "0000000000000055 vs 0000000000000057 (0000000000000002)");
  EXPECT_EQ(Format("%p", ~std::uint64_t{0} - 0x1234), "FFFFFFFFFFFFEDCB");
  // A literal percent sign before a p stays text.
  EXPECT_EQ(Format("100%%p %i", 5), "100%p 5");
}

TEST(Format, WholeNumberRoundingAndPercentSigns) {
  EXPECT_EQ(Format("%1.f%%", 0.0), "0%");
  EXPECT_EQ(Format("%1.f%%", 99.6), "100%");
  EXPECT_EQ(Format("%1.f%%", 12345.4), "12345%");
  EXPECT_EQ(Format("%s\nError code=%08lx\n", "x", 0x8007000Eul), "x\nError code=8007000e\n");
}

TEST(Format, OutputThatDoesNotFitIsCut) {
  EXPECT_EQ(FormatInto(6, "%s", "abcdefgh"), "abcde");
  EXPECT_EQ(FormatInto(1, "%s", "abc"), "");
  EXPECT_EQ(FormatInto(32, "%u-%i", 7u, -3), "7--3");
}

}  // namespace
