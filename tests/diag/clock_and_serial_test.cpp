#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "diag/clock.h"
#include "diag/serial.h"

namespace {

TEST(Milliseconds, FollowTheWallClock) {
  const std::int64_t before = GetMilliseconds();
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const std::int64_t elapsed = GetMilliseconds() - before;
  EXPECT_GE(elapsed, 45);  // allows for a coarse tick count
  EXPECT_LT(elapsed, 60'000) << "not milliseconds";
}

TEST(Serial, CountsFromOne) {
  const std::uint32_t first = NextSerial();
  EXPECT_EQ(NextSerial(), first + 1);
}

TEST(SpinSerialize, ExecutesExactly400000TimesOnEveryThread) {
  std::atomic<std::uint32_t> counter{0};
  std::uint32_t leaves[2] = {};
  std::thread other([&] { leaves[1] = SpinSerializeCount(counter); });
  leaves[0] = SpinSerializeCount(counter);
  other.join();
  EXPECT_EQ(counter.load(), 800'000u);
  // CPUID leaf 0 reports the highest basic leaf, the same from every thread.
  EXPECT_EQ(leaves[0], leaves[1]);
  EXPECT_EQ(SpinSerialize(), leaves[0]);
  EXPECT_GE(leaves[0], 1u);
}

}  // namespace
