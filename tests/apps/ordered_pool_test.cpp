#include "apps/vitrel/ordered_pool.h"

#include <gtest/gtest.h>

#include <atomic>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Item 0 finishes only after every other item has: delivery still starts with it.
TEST(OrderedPoolTest, DeliversInInputOrderWhateverOrderTheWorkEndsIn) {
  constexpr size_t kCount = 8;
  std::mutex mutex;
  std::condition_variable othersDone;
  size_t finished = 0;
  std::vector<size_t> delivered;
  forEachInOrder(
      kCount, 4,
      [&](size_t i) {
        std::unique_lock lock(mutex);
        if (i == 0) othersDone.wait(lock, [&] { return finished == kCount - 1; });
        if (i != 0 && ++finished == kCount - 1) othersDone.notify_all();
        return i * 10;
      },
      [&](size_t i, size_t value) {
        EXPECT_EQ(value, i * 10);
        delivered.push_back(i);
      });
  EXPECT_EQ(delivered, (std::vector<size_t>{0, 1, 2, 3, 4, 5, 6, 7}));
}

TEST(OrderedPoolTest, OneJobRunsEverythingOnTheCallingThread) {
  std::vector<std::thread::id> threads;
  forEachInOrder(
      3, 1, [&](size_t) { return std::this_thread::get_id(); },
      [&](size_t, std::thread::id id) { threads.push_back(id); });
  EXPECT_EQ(threads, std::vector<std::thread::id>(3, std::this_thread::get_id()));
}

// Two jobs are two threads: each item waits until the other has started, so both run at once,
// and one of them on the calling thread.
TEST(OrderedPoolTest, TheCallingThreadIsOneOfTheJobs) {
  std::mutex mutex;
  std::condition_variable started;
  size_t running = 0;
  std::vector<std::thread::id> threads;
  forEachInOrder(
      2, 2,
      [&](size_t) {
        std::unique_lock lock(mutex);
        threads.push_back(std::this_thread::get_id());
        ++running;
        started.notify_all();
        started.wait(lock, [&] { return running == 2; });
        return 0;
      },
      [](size_t, int) {});
  ASSERT_EQ(threads.size(), 2u);
  EXPECT_NE(threads[0], threads[1]);
  EXPECT_TRUE(threads[0] == std::this_thread::get_id() || threads[1] == std::this_thread::get_id());
}

TEST(OrderedPoolTest, WorkThatThrowsReachesTheCallerAfterTheItemsBeforeIt) {
  for (unsigned jobs : {1u, 3u}) {
    std::vector<size_t> delivered;
    auto run = [&] {
      forEachInOrder(
          50, jobs,
          [](size_t i) {
            if (i == 5) throw std::runtime_error("item 5");
            return i;
          },
          [&](size_t i, size_t) { delivered.push_back(i); });
    };
    EXPECT_THROW(run(), std::runtime_error);
    EXPECT_EQ(delivered, (std::vector<size_t>{0, 1, 2, 3, 4})) << jobs << " jobs";
  }
}

// The workers stop at the window's end instead of running the rest for nothing.
TEST(OrderedPoolTest, DeliveryThatThrowsStopsTheWorkers) {
  std::atomic<size_t> worked = 0;
  auto run = [&] {
    forEachInOrder(
        10000, 2, [&](size_t i) { return ++worked, i; },
        [](size_t, size_t) { throw std::runtime_error("stdout closed"); });
  };
  EXPECT_THROW(run(), std::runtime_error);
  EXPECT_LE(worked.load(), 2 + 4 * 2u);
}

}  // namespace
