// Every entry of the string table comes back, byte for byte, through the lookup the
// program uses: on Windows that is the compiled resource, so this also proves that the
// resource compiler read every escape as the C++ compiler does.

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "diag/text.h"

namespace {

struct Entry {
  std::uint32_t number;
  std::string_view text;
};

constexpr Entry kExpected[] = {
#define STRING_ENTRY(number, text) {number, text},
#include "resources/strings.inc"
#undef STRING_ENTRY
};

TEST(StringTable, EveryEntryLoadsUnchanged) {
  for (const Entry& entry : kExpected) {
    EXPECT_EQ(ResolveText(TextId(entry.number)), entry.text) << "string " << entry.number;
  }
  EXPECT_EQ(ResolveText(TextId(5010)).find("Started %s\nmemory: "), 0u);
}

TEST(StringTable, TextReferencesResolveByKind) {
  EXPECT_EQ(ResolveText(nullptr), "");
  EXPECT_EQ(ResolveText(TextId(4999)), "") << "a missing entry is an empty text";
  EXPECT_EQ(ResolveText("plain text"), "plain text");
  EXPECT_EQ(ResolveText(TextId(5104)), "unknown");
}

}  // namespace
