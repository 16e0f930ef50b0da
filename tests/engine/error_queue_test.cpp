#include "engine/error_queue.h"

#include <gtest/gtest.h>

namespace {

TEST(ErrorQueue, HandsRecordsOutInTheOrderTheyCameIn) {
  ErrorQueue queue;
  for (std::uint64_t i = 1; i <= 100; ++i) ASSERT_TRUE(queue.Push({i, ~i}));

  MemTestError record{};
  for (std::uint64_t i = 1; i <= 50; ++i) {
    ASSERT_TRUE(queue.Pop(record));
    EXPECT_EQ(record.first, i);
    EXPECT_EQ(record.second, ~i);
  }
  // Refilling a half-drained queue keeps the order.
  ASSERT_TRUE(queue.Push({1000, 1001}));
  for (std::uint64_t i = 51; i <= 100; ++i) {
    ASSERT_TRUE(queue.Pop(record));
    EXPECT_EQ(record.first, i);
  }
  ASSERT_TRUE(queue.Pop(record));
  EXPECT_EQ(record.first, 1000u);
}

TEST(ErrorQueue, AnEmptyQueueLeavesTheRecordUntouched) {
  ErrorQueue queue;
  MemTestError record{7, 8};
  EXPECT_FALSE(queue.Pop(record));

  queue.Push({1, 2});
  queue.Clear();
  EXPECT_FALSE(queue.Pop(record));
  EXPECT_EQ(record.first, 7u);
  EXPECT_EQ(record.second, 8u);

  // A cleared queue takes records again.
  ASSERT_TRUE(queue.Push({3, 4}));
  ASSERT_TRUE(queue.Pop(record));
  EXPECT_EQ(record.first, 3u);
}

}  // namespace
