#include "platform/thread.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace {

void SlowIncrement(void* counter) {
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  static_cast<std::atomic<int>*>(counter)->fetch_add(1);
}

TEST(Thread, JoinWaitsForTheProcToFinish) {
  std::atomic<int> counter{0};
  platform::Thread thread;
  EXPECT_FALSE(thread.Started());
  ASSERT_EQ(thread.Start(&SlowIncrement, &counter), S_OK);
  EXPECT_TRUE(thread.Started());
  thread.Join();
  EXPECT_EQ(counter.load(), 1);
  EXPECT_FALSE(thread.Started());
  thread.Join();  // a second join has nothing to wait for
}

TEST(Thread, TheDestructorJoins) {
  std::atomic<int> counter{0};
  {
    platform::Thread thread;
    ASSERT_EQ(thread.Start(&SlowIncrement, &counter), S_OK);
  }
  EXPECT_EQ(counter.load(), 1);
}

}  // namespace
