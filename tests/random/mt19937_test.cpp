#include "random/mt19937.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// Sources die by Release; this keeps a test from leaking one on a failed assertion.
struct SourceDeleter {
  void operator()(IRandom* source) const { source->Release(); }
};
using Source = std::unique_ptr<CMT19937, SourceDeleter>;

Source MakeSeeded(std::uint64_t seed) {
  Source source(new CMT19937);
  source->Seed(seed);
  return source;
}

TEST(MT19937, ArraySeedingGivesThePublishedReferenceOutputs) {
  const std::uint64_t key[] = {0x12345, 0x23456, 0x34567, 0x45678};
  Source source(new CMT19937);
  ASSERT_EQ(source->SeedArray(key, 4), S_OK);

  std::vector<std::uint64_t> out;
  for (int i = 0; i < 1000; ++i) out.push_back(source->GetInt(RandomKind::Int64));

  EXPECT_EQ(out[0], 7266447313870364031u);
  EXPECT_EQ(out[1], 4946485549665804864u);
  EXPECT_EQ(out[2], 16945909448695747420u);
  EXPECT_EQ(out[3], 16394063075524226720u);
  EXPECT_EQ(out[4], 4873882236456199058u);
  EXPECT_EQ(out[996], 13004818533162292132u);
  EXPECT_EQ(out[997], 9831652587047067687u);
  EXPECT_EQ(out[998], 7619315254749630976u);
  EXPECT_EQ(out[999], 994412663058993407u);
}

TEST(MT19937, SeedMatchesTheStandardLibrarysEngine) {
  for (const std::uint64_t seed : {0ull, 1ull, 5489ull, 0x0123456789ABCDEFull, ~0ull}) {
    Source source = MakeSeeded(seed);
    std::mt19937_64 reference(seed);
    // 1000 draws cross three regenerations of the state.
    for (int i = 0; i < 1000; ++i) {
      ASSERT_EQ(source->GetInt(RandomKind::Int64), reference()) << "seed " << seed << " draw " << i;
    }
  }
}

// Drawing the rest of a round at once gives the same outputs as drawing them one by one,
// wherever in a round it starts and however the two ways alternate.
TEST(MT19937, RoundsDrawnAtOnceContinueTheSingleDraws) {
  for (const int singles : {0, 1, 5, 155, 156, 311}) {
    Source source = MakeSeeded(singles + 11);
    std::mt19937_64 reference(singles + 11);
    std::uint64_t round[CMT19937::kStateWords];
    for (int pass = 0; pass < 3; ++pass) {
      for (int i = 0; i < singles; ++i) ASSERT_EQ(source->Draw(), reference());
      const int drawn = source->DrawRound(round);
      ASSERT_EQ(drawn, CMT19937::kStateWords - singles) << singles << " single draws first";
      for (int i = 0; i < drawn; ++i) ASSERT_EQ(round[i], reference()) << singles << ", " << i;
      ASSERT_EQ(source->DrawRound(round), CMT19937::kStateWords);
      for (const std::uint64_t value : round) ASSERT_EQ(value, reference()) << singles;
    }
  }
  Source fresh(new CMT19937);
  std::uint64_t round[CMT19937::kStateWords];
  ASSERT_EQ(fresh->DrawRound(round), CMT19937::kStateWords);
  EXPECT_EQ(round[0], 14514284786278117030u) << "an unseeded generator starts as seed 5489";
}

TEST(MT19937, UnseededGeneratorStartsAsSeed5489) {
  Source fresh(new CMT19937);
  Source seeded = MakeSeeded(5489);
  EXPECT_EQ(fresh->GetInt(RandomKind::Int64), 14514284786278117030u);
  EXPECT_EQ(fresh->GetInt(RandomKind::Int64), 4620546740167642908u);
  EXPECT_EQ(seeded->GetInt(RandomKind::Int64), 14514284786278117030u);
  EXPECT_EQ(seeded->GetInt(RandomKind::Int64), 4620546740167642908u);
}

TEST(MT19937, SeedingAgainRestartsTheSequence) {
  Source source = MakeSeeded(42);
  const std::uint64_t first = source->GetInt(RandomKind::Int64);
  for (int i = 0; i < 500; ++i) source->GetInt(RandomKind::Int64);
  source->Seed(42);
  EXPECT_EQ(source->GetInt(RandomKind::Int64), first);
}

TEST(MT19937, KindsShapeOneDraw) {
  Source source = MakeSeeded(7);
  std::mt19937_64 reference(7);

  EXPECT_EQ(source->GetInt(RandomKind::Int32), reference() >> 32);
  EXPECT_EQ(source->GetInt(RandomKind::Int31), reference() >> 33);
  EXPECT_EQ(source->GetInt(RandomKind::Int64), reference());
  EXPECT_EQ(source->GetInt(RandomKind::Int63), reference() >> 1);
  EXPECT_EQ(source->GetReal(RandomKind::RealClosed),
            static_cast<double>(reference() >> 11) / 9007199254740991.0);
  EXPECT_EQ(source->GetReal(RandomKind::RealHalfOpen),
            static_cast<double>(reference() >> 11) / 9007199254740992.0);
  EXPECT_EQ(source->GetReal(RandomKind::RealOpen),
            (static_cast<double>(reference() >> 12) + 0.5) / 4503599627370496.0);

  // RealRes53 takes two draws: the high 27 bits of the first, the high 26 of the second.
  const std::uint64_t high = reference() >> 37;
  const std::uint64_t low = reference() >> 38;
  EXPECT_EQ(
      source->GetReal(RandomKind::RealRes53),
      (static_cast<double>(high) * 67108864.0 + static_cast<double>(low)) / 9007199254740992.0);
  EXPECT_EQ(source->GetInt(RandomKind::Int64), reference()) << "draws out of step";
}

TEST(MT19937, RealsStayInsideTheirIntervals) {
  constexpr std::uint64_t kAllOnes = ~0ull;
  EXPECT_EQ(CMT19937::RealClosedOf(kAllOnes), 1.0);
  EXPECT_EQ(CMT19937::RealClosedOf(0), 0.0);
  EXPECT_LT(CMT19937::RealHalfOpenOf(kAllOnes), 1.0);
  EXPECT_GT(CMT19937::RealOpenOf(0), 0.0);
  EXPECT_LT(CMT19937::RealOpenOf(kAllOnes), 1.0);
  EXPECT_LT(CMT19937::RealRes53Of((1u << 27) - 1, (1u << 26) - 1), 1.0);
}

TEST(MT19937, UnknownKindsReturnTheErrorCodeWithoutDrawing) {
  Source source = MakeSeeded(99);
  std::mt19937_64 reference(99);

  EXPECT_EQ(source->GetInt(static_cast<RandomKind>(5)), 0xFFFFFFFF80070057u);
  EXPECT_EQ(source->GetInt(static_cast<RandomKind>(0)), 0xFFFFFFFF80070057u);
  EXPECT_EQ(source->GetReal(static_cast<RandomKind>(1)), -2147024809.0);
  EXPECT_EQ(source->GetReal(static_cast<RandomKind>(9)), -2147024809.0);
  EXPECT_EQ(source->GetInt(RandomKind::Int64), reference());
}

TEST(MT19937, ArraySeedingRefusesAKeyItWouldReadPast) {
  Source source = MakeSeeded(3);
  std::mt19937_64 reference(3);
  const std::uint64_t key[] = {1};

  EXPECT_EQ(source->SeedArray(nullptr, 4), E_INVALIDARG);
  EXPECT_EQ(source->SeedArray(key, 0), E_INVALIDARG);
  EXPECT_EQ(source->SeedArray(key, -1), E_INVALIDARG);
  EXPECT_EQ(source->GetInt(RandomKind::Int64), reference()) << "a refused key changed the state";
}

}  // namespace
