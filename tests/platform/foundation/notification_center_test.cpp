#include "platform/foundation/notification_center.h"

#include <gtest/gtest.h>

#include <atomic>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/foundation/log.h"

namespace {

// A centre of its own per test, so observers left by one test cannot disturb another.
Ref<NSNotificationCenter> makeCenter() {
  NSNotificationCenter::defaultCenter();  // defines the class
  return objc::make<NSNotificationCenter>();
}

Ref<NSObject> makeObject() {
  return objc::make<NSObject>();
}

}  // namespace

TEST(NotificationCenterTest, DefaultCenterIsOneInstanceOfItsClass) {
  NSNotificationCenter* center = NSNotificationCenter::defaultCenter();
  ASSERT_NE(center, nullptr);
  EXPECT_EQ(center, NSNotificationCenter::defaultCenter());
  EXPECT_STREQ(class_getName(object_getClass(center)), "NSNotificationCenter");
}

TEST(NotificationCenterTest, DeliveryIsFilteredByNameAndObject) {
  Ref<NSNotificationCenter> center = makeCenter();
  Ref<NSObject> sender = makeObject(), stranger = makeObject();
  std::vector<std::string> heard;
  auto record = [&](std::string label) {
    return [&heard, label](const std::string& name, NSObject*) {
      heard.push_back(label + ":" + name);
    };
  };
  auto anyObject = center->addObserverForName("changed", nullptr, record("any"));
  auto fromSender = center->addObserverForName("changed", sender.get(), record("sender"));
  auto otherName = center->addObserverForName("other", nullptr, record("other"));
  auto everyName = center->addObserverForName("", stranger.get(), record("every"));

  center->postNotificationName("changed", sender.get());
  EXPECT_EQ(heard, (std::vector<std::string>{"any:changed", "sender:changed"}));
  heard.clear();
  center->postNotificationName("changed", stranger.get());
  EXPECT_EQ(heard, (std::vector<std::string>{"any:changed", "every:changed"}));
  heard.clear();
  center->postNotificationName("other", nullptr);
  EXPECT_EQ(heard, (std::vector<std::string>{"other:other"}));
}

TEST(NotificationCenterTest, BlockReceivesThePostedObject) {
  Ref<NSNotificationCenter> center = makeCenter();
  Ref<NSObject> sender = makeObject();
  NSObject* received = nullptr;
  auto observation = center->addObserverForName(
      "changed", nullptr, [&](const std::string&, NSObject* object) { received = object; });
  center->postNotificationName("changed", sender.get());
  EXPECT_EQ(received, sender.get());
}

TEST(NotificationCenterTest, ObserverRemovingItselfDuringDeliveryHearsNoMore) {
  Ref<NSNotificationCenter> center = makeCenter();
  int selfRemoving = 0, other = 0;
  NSNotificationCenter::Observation first;
  first = center->addObserverForName("changed", nullptr, [&](const std::string&, NSObject*) {
    ++selfRemoving;
    first = NSNotificationCenter::Observation();  // destroys the running block's registration
  });
  auto second = center->addObserverForName("changed", nullptr,
                                           [&](const std::string&, NSObject*) { ++other; });
  center->postNotificationName("changed", nullptr);
  center->postNotificationName("changed", nullptr);
  EXPECT_EQ(selfRemoving, 1);
  EXPECT_EQ(other, 2) << "the others still hear every post";
}

TEST(NotificationCenterTest, ObserverRemovedByAnEarlierBlockIsSkippedAtOnce) {
  Ref<NSNotificationCenter> center = makeCenter();
  bool laterHeard = false;
  NSNotificationCenter::Observation later;
  auto earlier = center->addObserverForName("changed", nullptr,
                                            [&](const std::string&, NSObject*) { later.cancel(); });
  later = center->addObserverForName("changed", nullptr,
                                     [&](const std::string&, NSObject*) { laterHeard = true; });
  center->postNotificationName("changed", nullptr);
  EXPECT_FALSE(laterHeard);
  EXPECT_FALSE(later.active());
}

TEST(NotificationCenterTest, BlockAddingObserversAndPostingAgainIsSafe) {
  Ref<NSNotificationCenter> center = makeCenter();
  std::vector<NSNotificationCenter::Observation> added;
  int nested = 0;
  auto observation =
      center->addObserverForName("outer", nullptr, [&](const std::string&, NSObject*) {
        added.push_back(center->addObserverForName(
            "inner", nullptr, [&](const std::string&, NSObject*) { ++nested; }));
        center->postNotificationName("inner", nullptr);
      });
  center->postNotificationName("outer", nullptr);
  center->postNotificationName("outer", nullptr);
  EXPECT_EQ(nested, 1 + 2) << "each post of inner reaches every observer added so far";
}

TEST(NotificationCenterTest, BlocksRunOnThePostingThreadBeforePostReturns) {
  Ref<NSNotificationCenter> center = makeCenter();
  std::thread::id blockThread;
  auto observation = center->addObserverForName(
      "changed", nullptr,
      [&](const std::string&, NSObject*) { blockThread = std::this_thread::get_id(); });
  std::thread::id posterThread;
  std::thread poster([&] {
    posterThread = std::this_thread::get_id();
    center->postNotificationName("changed", nullptr);
    EXPECT_EQ(blockThread, posterThread);
  });
  poster.join();
}

TEST(NotificationCenterTest, ConcurrentPostsAndRemovalsAreSafe) {
  Ref<NSNotificationCenter> center = makeCenter();
  std::atomic<int> heard = 0;
  std::atomic<bool> done = false;
  std::vector<std::thread> posters;
  for (int i = 0; i < 3; ++i) {
    posters.emplace_back([&] {
      while (!done)
        center->postNotificationName("changed", nullptr);
    });
  }
  for (int i = 0; i < 200; ++i) {
    auto observation = center->addObserverForName("changed", nullptr,
                                                  [&](const std::string&, NSObject*) { ++heard; });
  }
  done = true;
  for (std::thread& poster : posters)
    poster.join();
  auto last = center->addObserverForName("changed", nullptr,
                                         [&](const std::string&, NSObject*) { ++heard; });
  int before = heard;
  center->postNotificationName("changed", nullptr);
  EXPECT_EQ(heard, before + 1) << "only the remaining observer hears";
}

TEST(NotificationCenterTest, ObservationOutlivingItsCenterIsHarmless) {
  NSNotificationCenter::Observation observation;
  {
    Ref<NSNotificationCenter> center = makeCenter();
    observation = center->addObserverForName("changed", nullptr, [](auto&, auto*) {});
    EXPECT_TRUE(observation.active());
  }
  EXPECT_FALSE(observation.active());
}

TEST(NotificationCenterTest, EmptyBlockIsRefused) {
  Ref<NSNotificationCenter> center = makeCenter();
  LogCapture log;
  auto observation = center->addObserverForName("changed", nullptr, nullptr);
  EXPECT_FALSE(observation.active());
  EXPECT_EQ(log.lines().size(), 1u);
  center->postNotificationName("changed", nullptr);
}
