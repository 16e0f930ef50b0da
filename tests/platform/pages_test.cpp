#include "platform/pages.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

TEST(Pages, AreCommittedZeroedAndWritable) {
  constexpr std::uint64_t kBytes = 1 << 20;
  void* pages = nullptr;
  ASSERT_EQ(platform::AllocatePages(kBytes, false, pages), S_OK);
  auto* words = static_cast<std::uint64_t*>(pages);
  std::uint64_t sum = 0;
  for (std::uint64_t i = 0; i < kBytes / 8; ++i) {
    sum |= words[i];
    words[i] = i;
  }
  EXPECT_EQ(sum, 0u);
  EXPECT_EQ(words[kBytes / 8 - 1], kBytes / 8 - 1);
  platform::FreePages(pages, kBytes);
}

TEST(Pages, FailuresComeBackAsSystemErrors) {
  void* pages = &pages;
  EXPECT_EQ(platform::AllocatePages(0, false, pages), HResultFromWin32(87));
  EXPECT_EQ(pages, nullptr);

  pages = &pages;
  const HRESULT result = platform::AllocatePages(1ull << 62, true, pages);
  EXPECT_TRUE(Failed(result));
  EXPECT_EQ(static_cast<std::uint32_t>(result) & 0xFFFF0000u, 0x80070000u);
  EXPECT_EQ(pages, nullptr);
}

#if defined(_WIN32)
// Windows hands out plain requests bottom-up; a top-down one must land above them.
TEST(Pages, ATopDownRequestLandsAboveAPlainOne) {
  constexpr std::uint64_t kBytes = 16 << 20;
  void* low = nullptr;
  void* high = nullptr;
  ASSERT_EQ(platform::AllocatePages(kBytes, false, low), S_OK);
  ASSERT_EQ(platform::AllocatePages(kBytes, true, high), S_OK);
  EXPECT_GT(reinterpret_cast<std::uintptr_t>(high), reinterpret_cast<std::uintptr_t>(low));
  platform::FreePages(high, kBytes);
  platform::FreePages(low, kBytes);
}
#endif

}  // namespace
