#include "platform/crypto_bytes.h"

#include <gtest/gtest.h>

#include <array>

namespace {

TEST(CryptoBytes, TwoRequestsGiveDifferentBytes) {
  platform::CryptoContext context = 0;
  ASSERT_EQ(platform::AcquireCryptoContext(context), S_OK);
  EXPECT_NE(context, 0u);
  std::array<unsigned char, 32> first{};
  std::array<unsigned char, 32> second{};
  EXPECT_TRUE(platform::GenerateCryptoBytes(context, first.data(), 32));
  EXPECT_TRUE(platform::GenerateCryptoBytes(context, second.data(), 32));
  EXPECT_NE(first, second);
  EXPECT_NE(first, decltype(first){});
  platform::ReleaseCryptoContext(context);
}

}  // namespace
