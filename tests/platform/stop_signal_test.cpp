#include "platform/stop_signal.h"

#include <gtest/gtest.h>

#include <thread>

namespace {

TEST(StopSignal, APauseWithoutARequestRunsOutAndSaysSo) {
  platform::StopSignal signal;
  EXPECT_FALSE(signal.Requested());
  EXPECT_FALSE(signal.Pause(0));
  EXPECT_FALSE(signal.Pause(5));
}

TEST(StopSignal, ARequestEndsTheLongestPause) {
  platform::StopSignal signal;
  std::thread stopper([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    signal.Request();
  });
  // 49.7 days unless the request cuts it short; a hang fails the test by timeout.
  EXPECT_TRUE(signal.Pause(0xFFFFFFFF));
  stopper.join();
  EXPECT_TRUE(signal.Requested());
}

TEST(StopSignal, APauseAfterTheRequestReturnsAtOnce) {
  platform::StopSignal signal;
  signal.Request();
  EXPECT_TRUE(signal.Pause(0xFFFFFFFF));
  EXPECT_TRUE(signal.Pause(0));
}

}  // namespace
