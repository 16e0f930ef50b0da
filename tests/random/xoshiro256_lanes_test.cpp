#include "random/xoshiro256_lanes.h"

#include <gtest/gtest.h>

namespace {

// xoshiro256+ from the state {1, 2, 3, 4}, worked out by hand from the published
// algorithm, here in lane 2: the other lanes hold other states, which must not leak into
// it. And the published outputs of SplitMix64 from 1234567.
TEST(Xoshiro256PlusLanes, KeepsItsLanesApartAndSeedsThroughSplitMix64) {
  Xoshiro256PlusLanes generators{};
  for (std::uint64_t w = 0; w < 4; ++w) generators.s[w] = WordLanes{7, 8, w + 1, 9} * (w + 3);
  for (std::uint64_t w = 0; w < 4; ++w) generators.s[w][2] = w + 1;
  WordLanes out;
  generators.Next(out);
  EXPECT_EQ(out[2], 5u);
  generators.Next(out);
  EXPECT_EQ(out[2], 7u + (6ull << 45));

  std::uint64_t state = 1234567;
  for (const std::uint64_t expected :
       {6457827717110365317ull, 3203168211198807973ull, 9817491932198370423ull,
        4593380528125082431ull, 16408922859458223821ull}) {
    EXPECT_EQ(SplitMix64(state), expected);
  }
}

}  // namespace
