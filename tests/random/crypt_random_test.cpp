#include "random/crypt_random.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct SourceDeleter {
  void operator()(IRandom* source) const { source->Release(); }
};
using Source = std::unique_ptr<IRandom, SourceDeleter>;

Source MakeSource() {
  IRandom* source = nullptr;
  EXPECT_EQ(CreateRandom(kRandomCrypt, source), S_OK);
  return Source(source);
}

TEST(CryptRandom, SeedAcquiresOnceAndIgnoresItsArguments) {
  Source source = MakeSource();
  const std::uint64_t key[] = {1, 2, 3};
  EXPECT_EQ(source->SeedArray(key, 3), S_OK);
  EXPECT_EQ(source->Seed(12345), S_FALSE);
  EXPECT_EQ(source->SeedArray(nullptr, -5), S_FALSE);
}

TEST(CryptRandom, AFreshSourceDrawsWithoutBeingSeeded) {
  Source source = MakeSource();
  std::uint64_t seen = 0;
  for (int i = 0; i < 64; ++i) {
    const std::uint64_t value = source->GetInt(RandomKind::Int32);
    ASSERT_LT(value, 1ull << 32);
    seen |= value;
  }
  // 64 random 32-bit draws leave no bit unset, except with odds of 2^-59.
  EXPECT_EQ(seen, 0xFFFFFFFFu);
  EXPECT_EQ(source->Seed(0), S_FALSE) << "the draw should have acquired the provider";
}

TEST(CryptRandom, KindsKeepTheirWidthsAndIntervals) {
  Source source = MakeSource();
  std::uint64_t int64Bits = 0;
  std::uint64_t int63Bits = 0;
  for (int i = 0; i < 64; ++i) {
    EXPECT_LT(source->GetInt(RandomKind::Int31), 1ull << 31);
    int64Bits |= source->GetInt(RandomKind::Int64);
    int63Bits |= source->GetInt(RandomKind::Int63);
    for (const RandomKind kind : {RandomKind::RealClosed, RandomKind::RealHalfOpen,
                                  RandomKind::RealOpen, RandomKind::RealRes53}) {
      const double value = source->GetReal(kind);
      EXPECT_GE(value, 0.0);
      EXPECT_LE(value, 1.0);
      if (kind != RandomKind::RealClosed) {
        EXPECT_LT(value, 1.0);
      }
      if (kind == RandomKind::RealOpen) {
        EXPECT_GT(value, 0.0);
      }
    }
  }
  EXPECT_EQ(int64Bits, ~0ull);
  EXPECT_EQ(int63Bits, ~0ull >> 1);
}

TEST(CryptRandom, UnknownKindsReturnTheErrorCode) {
  Source source = MakeSource();
  EXPECT_EQ(source->GetInt(RandomKind::RealOpen), 0xFFFFFFFF80070057u);
  EXPECT_EQ(source->GetReal(RandomKind::Int64), -2147024809.0);
}

}  // namespace
