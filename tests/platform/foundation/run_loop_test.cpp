#include "platform/foundation/run_loop.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/dispatch.h"
#include "platform/foundation/internal/file_descriptor.h"
#include "platform/foundation/log.h"

using foundation_internal::FileDescriptor;
using namespace std::chrono_literals;

namespace {

// Only keeps a broken test from hanging; nothing here should come near it.
constexpr auto kPatience = 10s;

struct Pipe {
  FileDescriptor read;
  FileDescriptor write;

  Pipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) == 0) {
      read.reset(ends[0]);
      write.reset(ends[1]);
    }
  }
  void send(char byte = 'x') const { ASSERT_EQ(::write(write.get(), &byte, 1), 1); }
  void drain() const {
    char buffer[64];
    while (::read(read.get(), buffer, sizeof buffer) > 0) {
    }
  }
};

// Runs turns while they find something to do: everything already queued, due or readable is
// handled by the time it returns.
void settle(RunLoop& loop) {
  for (int turns = 0; turns < 100 && loop.runOnce(0ms); ++turns) {
  }
}

}  // namespace

TEST(RunLoopTest, QueuedWorkRunsInOrder) {
  RunLoop loop;
  std::vector<int> order;
  for (int i = 0; i < 5; ++i)
    loop.perform([&order, i] { order.push_back(i); });
  EXPECT_TRUE(loop.runOnce(0ms));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2, 3, 4}));
}

TEST(RunLoopTest, WorkQueuedByWorkRunsOnALaterTurn) {
  RunLoop loop;
  std::vector<std::string> order;
  loop.perform([&] {
    order.push_back("first");
    loop.perform([&] { order.push_back("queued by first"); });
  });
  loop.perform([&] { order.push_back("second"); });
  loop.runOnce(0ms);
  EXPECT_EQ(order, (std::vector<std::string>{"first", "second"}));
  loop.runOnce(0ms);
  EXPECT_EQ(order.back(), "queued by first");
}

TEST(RunLoopTest, PerformFromOtherThreadsWakesAWaitingLoop) {
  RunLoop loop;
  constexpr int kThreads = 4, kItems = 50;
  std::vector<std::vector<int>> seen(kThreads);
  int total = 0;
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kItems; ++i) {
        loop.perform([&, t, i] {
          seen[t].push_back(i);
          ++total;
        });
      }
    });
  }
  EXPECT_TRUE(loop.runUntil([&] { return total == kThreads * kItems; }, kPatience));
  for (std::thread& thread : threads)
    thread.join();
  for (const std::vector<int>& items : seen) {
    ASSERT_EQ(items.size(), size_t{kItems});
    for (int i = 0; i < kItems; ++i)
      EXPECT_EQ(items[i], i) << "one thread's work stays in order";
  }
}

TEST(RunLoopTest, TimersFireInDeadlineOrder) {
  RunLoop loop;
  std::string order;
  RunLoop::Timer c = loop.schedule(30ms, [&] { order += 'c'; });
  RunLoop::Timer a = loop.schedule(10ms, [&] { order += 'a'; });
  RunLoop::Timer b = loop.schedule(20ms, [&] { order += 'b'; });
  EXPECT_TRUE(loop.runUntil([&] { return order.size() == 3; }, kPatience));
  EXPECT_EQ(order, "abc");
  EXPECT_FALSE(a.active()) << "a one-shot timer is done once it has fired";
}

TEST(RunLoopTest, RepeatingTimerRepeatsUntilCancelled) {
  RunLoop loop;
  int fired = 0;
  RunLoop::Timer timer = loop.schedule(
      1ms, [&] { ++fired; }, true);
  EXPECT_TRUE(loop.runUntil([&] { return fired >= 3; }, kPatience));
  EXPECT_TRUE(timer.active());
  timer.cancel();
  int firedBefore = fired;
  bool later = false;
  RunLoop::Timer marker = loop.schedule(20ms, [&] { later = true; });
  EXPECT_TRUE(loop.runUntil([&] { return later; }, kPatience));
  EXPECT_EQ(fired, firedBefore);
}

TEST(RunLoopTest, DestroyedTimerNeverFires) {
  RunLoop loop;
  bool cancelledFired = false, laterFired = false;
  std::optional<RunLoop::Timer> cancelled = loop.schedule(1ms, [&] { cancelledFired = true; });
  RunLoop::Timer later = loop.schedule(20ms, [&] { laterFired = true; });
  cancelled.reset();
  EXPECT_TRUE(loop.runUntil([&] { return laterFired; }, kPatience));
  EXPECT_FALSE(cancelledFired);
}

TEST(RunLoopTest, RepeatingTimerCancellingItselfFiresOnce) {
  RunLoop loop;
  int fired = 0;
  RunLoop::Timer timer;
  timer = loop.schedule(
      1ms,
      [&] {
        ++fired;
        timer = RunLoop::Timer();  // destroys the running callback's own timer
      },
      true);
  bool later = false;
  RunLoop::Timer marker = loop.schedule(30ms, [&] { later = true; });
  EXPECT_TRUE(loop.runUntil([&] { return later; }, kPatience));
  EXPECT_EQ(fired, 1);
}

TEST(RunLoopTest, SourceFiresWhenReadableAndNotAfterItIsDestroyed) {
  RunLoop loop;
  Pipe pipe;
  int fired = 0;
  std::optional<RunLoop::Source> source = loop.watchReadable(pipe.read.get(), [&] {
    ++fired;
    pipe.drain();
  });
  EXPECT_FALSE(loop.runOnce(0ms)) << "nothing to read yet";
  pipe.send();
  EXPECT_TRUE(loop.runUntil([&] { return fired == 1; }, kPatience));
  settle(loop);
  EXPECT_EQ(fired, 1) << "drained, so not readable any more";
  source.reset();
  pipe.send();
  settle(loop);
  EXPECT_EQ(fired, 1);
}

TEST(RunLoopTest, SourceDestroyingItselfDoesNotDisturbOthersReadyInTheSameTurn) {
  RunLoop loop;
  Pipe first, second;
  int firstFired = 0, secondFired = 0;
  RunLoop::Source firstSource;
  firstSource = loop.watchReadable(first.read.get(), [&] {
    ++firstFired;
    firstSource = RunLoop::Source();  // the callback's own storage goes away here
  });
  RunLoop::Source secondSource = loop.watchReadable(second.read.get(), [&] {
    ++secondFired;
    second.drain();
  });
  first.send();
  second.send();
  EXPECT_TRUE(loop.runUntil([&] { return secondFired == 1; }, kPatience));
  settle(loop);
  EXPECT_EQ(firstFired, 1) << "still readable, but no longer watched";
  EXPECT_FALSE(firstSource.active());
}

TEST(RunLoopTest, SourceRemovedByAnEarlierCallbackInTheTurnIsNotCalled) {
  RunLoop loop;
  Pipe first, second;
  bool secondFired = false;
  RunLoop::Source secondSource;
  RunLoop::Source firstSource = loop.watchReadable(first.read.get(), [&] {
    first.drain();
    secondSource.cancel();
  });
  secondSource = loop.watchReadable(second.read.get(), [&] { secondFired = true; });
  first.send();
  second.send();
  ASSERT_TRUE(loop.runOnce(kPatience));
  settle(loop);
  EXPECT_FALSE(secondFired);
}

TEST(RunLoopTest, SourceDrainedByAnEarlierCallbackInTheTurnIsNotCalled) {
  RunLoop loop;
  Pipe pipe;
  int calls = 0;
  auto readOnce = [&] {
    ++calls;
    pipe.drain();
  };
  RunLoop::Source first = loop.watchReadable(pipe.read.get(), readOnce);
  RunLoop::Source second = loop.watchReadable(pipe.read.get(), readOnce);
  pipe.send();
  ASSERT_TRUE(loop.runOnce(kPatience));
  settle(loop);
  EXPECT_EQ(calls, 1) << "a reader must not be called with nothing to read";
}

TEST(RunLoopTest, CallbacksMayAddSourcesTimersAndWork) {
  RunLoop loop;
  Pipe trigger, added;
  std::vector<std::string> events;
  RunLoop::Source addedSource;
  RunLoop::Timer addedTimer;
  RunLoop::Source source = loop.watchReadable(trigger.read.get(), [&] {
    trigger.drain();
    loop.perform([&] { events.push_back("work"); });
    addedTimer = loop.schedule(0ms, [&] { events.push_back("timer"); });
    addedSource = loop.watchReadable(added.read.get(), [&] {
      added.drain();
      events.push_back("source");
    });
    added.send();
  });
  trigger.send();
  EXPECT_TRUE(loop.runUntil([&] { return events.size() == 3; }, kPatience));
  std::sort(events.begin(), events.end());
  EXPECT_EQ(events, (std::vector<std::string>{"source", "timer", "work"}));
}

TEST(RunLoopTest, DescriptorClosedWhileWatchedIsDroppedWithoutACall) {
  RunLoop loop;
  Pipe pipe;
  bool fired = false;
  RunLoop::Source source = loop.watchReadable(pipe.read.get(), [&] { fired = true; });
  LogCapture log;
  pipe.read.reset();
  settle(loop);
  EXPECT_FALSE(fired);
  EXPECT_FALSE(source.active());
  EXPECT_FALSE(log.lines().empty()) << "the owner's mistake is reported";
}

TEST(RunLoopTest, NegativeDescriptorIsRefused) {
  RunLoop loop;
  LogCapture log;
  RunLoop::Source source = loop.watchReadable(-1, [] {});
  EXPECT_FALSE(source.active());
  EXPECT_FALSE(log.lines().empty());
}

TEST(RunLoopTest, StopFromACallbackEndsRun) {
  RunLoop loop;
  int turns = 0;
  RunLoop::Timer ticking = loop.schedule(
      1ms, [&] { ++turns; }, true);
  RunLoop::Timer stopper = loop.schedule(10ms, [&] { loop.stop(); });
  loop.run();
  EXPECT_FALSE(stopper.active());
}

TEST(RunLoopTest, StopFromAnotherThreadEndsRun) {
  RunLoop loop;
  std::atomic<bool> running = false;
  loop.perform([&] { running = true; });
  std::thread stopper([&] {
    while (!running)
      std::this_thread::yield();
    loop.stop();
  });
  loop.run();
  stopper.join();
  EXPECT_TRUE(running);
}

TEST(RunLoopTest, HandleOutlivingItsLoopIsHarmless) {
  RunLoop::Timer timer;
  RunLoop::Source source;
  Pipe pipe;
  {
    RunLoop loop;
    timer = loop.schedule(1h, [] {});
    source = loop.watchReadable(pipe.read.get(), [] {});
  }
  EXPECT_FALSE(timer.active());
  timer.cancel();
  source.cancel();
}

TEST(DispatchTest, OnceRunsItsBlockOnceWhenCallsRace) {
  dispatch_once_t predicate;
  std::atomic<int> runs = 0;
  std::vector<std::thread> threads;
  for (int i = 0; i < 8; ++i) {
    threads.emplace_back([&] { dispatch_once(&predicate, [&] { ++runs; }); });
  }
  for (std::thread& thread : threads)
    thread.join();
  dispatch_once(&predicate, [&] { ++runs; });
  EXPECT_EQ(runs, 1);
}

TEST(DispatchTest, MainQueueRunsBlocksInOrderOnTheMainLoop) {
  std::vector<int> order;
  std::vector<std::thread::id> threads;
  std::thread poster([&] {
    for (int i = 0; i < 3; ++i) {
      dispatch_async(dispatch_get_main_queue(), [&, i] {
        order.push_back(i);
        threads.push_back(std::this_thread::get_id());
      });
    }
  });
  poster.join();
  EXPECT_TRUE(order.empty()) << "blocks wait for the main loop";
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return order.size() == 3; }, kPatience));
  EXPECT_EQ(order, (std::vector<int>{0, 1, 2}));
  for (std::thread::id id : threads)
    EXPECT_EQ(id, std::this_thread::get_id());
}

TEST(DispatchTest, NullQueueIsRefused) {
  LogCapture log;
  dispatch_async(nullptr, [] {});
  dispatch_once(nullptr, [] {});
  EXPECT_EQ(log.lines().size(), 2u);
}
