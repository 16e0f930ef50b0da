// The platform question is asked below 4.90 only.

#include "shell/platform_version.h"

#include <gtest/gtest.h>

TEST(PlatformVersion, From490OnWithoutAQuestion) {
  EXPECT_TRUE(IsSupportedPlatform(4, 90));
  EXPECT_TRUE(IsSupportedPlatform(5, 0));
  EXPECT_TRUE(IsSupportedPlatform(10, 0));
  EXPECT_FALSE(IsSupportedPlatform(4, 10));
  EXPECT_FALSE(IsSupportedPlatform(4, 0));
  EXPECT_FALSE(IsSupportedPlatform(3, 95));
  std::uint32_t major = 0, minor = 0;
  ASSERT_TRUE(QueryPlatformVersion(major, minor));
  EXPECT_TRUE(IsSupportedPlatform(major, minor)) << "the system the tests run on";
}
