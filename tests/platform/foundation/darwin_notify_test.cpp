#include "platform/foundation/darwin_notify.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

#include "darwin_notify_observers.h"
#include "platform/foundation/log.h"
#include "platform/foundation/run_loop.h"

using namespace darwin_notify_testing;

TEST(DarwinNotifyTest, PostIsHeardWhenTheMainLoopRunsNotBefore) {
  Observer observer({"test.delivery.later"});
  post("test.delivery.later");
  EXPECT_TRUE(observer.names.empty()) << "never called on the posting thread";
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return !observer.names.empty(); }, kPatience));
  EXPECT_EQ(observer.names, lines({"test.delivery.later"}));
  EXPECT_TRUE(observer.payloadWasNull);
}

TEST(DarwinNotifyTest, PostFromAnotherThreadIsHeardOnTheMainLoop) {
  Observer observer({"test.delivery.thread"});
  std::thread poster([] { post("test.delivery.thread"); });
  poster.join();
  EXPECT_TRUE(RunLoop::main().runUntil([&] { return !observer.names.empty(); }, kPatience));
  ASSERT_EQ(observer.threads.size(), 1u);
  EXPECT_EQ(observer.threads[0], std::this_thread::get_id());
}

TEST(DarwinNotifyTest, PostsOfOneNameBeforeATurnAreHeardOnce) {
  Observer observer({"test.coalesce"});
  for (int i = 0; i < 5; ++i)
    post("test.coalesce");
  settleMainLoop();
  EXPECT_EQ(observer.names, lines({"test.coalesce"}));
}

TEST(DarwinNotifyTest, DifferentNamesAreEachHeard) {
  Observer observer({"test.names.first", "test.names.second"});
  post("test.names.first");
  post("test.names.second");
  post("test.names.first");
  settleMainLoop();
  EXPECT_EQ(observer.names, lines({"test.names.first", "test.names.second"}));
}

TEST(DarwinNotifyTest, UnobservedNamesAreNotHeard) {
  Observer observer({"test.filter.wanted"});
  post("test.filter.other");
  settleMainLoop();
  EXPECT_TRUE(observer.names.empty());
}

TEST(DarwinNotifyTest, RemovedObserverHearsNothingEvenOfAPostOnItsWay) {
  Observer observer({"test.remove.one", "test.remove.two"});
  post("test.remove.one");
  post("test.remove.two");
  CFNotificationCenterRemoveObserver(Observer::centre(), &observer, CFSTR("test.remove.one"),
                                     nullptr);
  settleMainLoop();
  EXPECT_EQ(observer.names, lines({"test.remove.two"})) << "only the named one is removed";

  CFNotificationCenterRemoveEveryObserver(Observer::centre(), &observer);
  post("test.remove.two");
  settleMainLoop();
  EXPECT_EQ(observer.names.size(), 1u);
}

TEST(DarwinNotifyTest, TwoObserversOfOneNameBothHearIt) {
  Observer first({"test.shared"}), second({"test.shared"});
  post("test.shared");
  settleMainLoop();
  EXPECT_EQ(first.names, lines({"test.shared"}));
  EXPECT_EQ(second.names, lines({"test.shared"}));
}

TEST(DarwinNotifyTest, RegisteringTwiceDeliversOnce) {
  Observer observer({"test.twice", "test.twice"});
  post("test.twice");
  settleMainLoop();
  EXPECT_EQ(observer.names.size(), 1u);
}

TEST(DarwinNotifyTest, CallbackRemovingALaterObserverKeepsItFromHearing) {
  struct Remover {
    Observer* victim;
    static void remove(CFNotificationCenterRef center, void* self, CFNotificationName, const void*,
                       CFDictionaryRef) {
      CFNotificationCenterRemoveEveryObserver(center, static_cast<Remover*>(self)->victim);
    }
  };
  Observer victim;
  Remover remover{&victim};
  CFNotificationCenterAddObserver(Observer::centre(), &remover, &Remover::remove,
                                  CFSTR("test.remove.during"), nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
  victim.observe("test.remove.during");
  post("test.remove.during");
  settleMainLoop();
  CFNotificationCenterRemoveEveryObserver(Observer::centre(), &remover);
  EXPECT_TRUE(victim.names.empty());
}

TEST(DarwinNotifyTest, HostObservationStopsWhenDestroyed) {
  int heard = 0;
  {
    DarwinObservation observation =
        observeDarwinNotification("test.host", [&](const std::string& name) {
          EXPECT_EQ(name, "test.host");
          ++heard;
        });
    EXPECT_TRUE(observation.active());
    post("test.host");
    settleMainLoop();
    EXPECT_EQ(heard, 1);
    post("test.host");
  }
  settleMainLoop();
  EXPECT_EQ(heard, 1);
}

TEST(DarwinNotifyTest, HostObservationSurvivesRemoveEveryObserverOfNull) {
  int heard = 0;
  DarwinObservation observation =
      observeDarwinNotification("test.host.kept", [&](const std::string&) { ++heard; });
  CFNotificationCenterRemoveEveryObserver(Observer::centre(), nullptr);
  post("test.host.kept");
  settleMainLoop();
  EXPECT_EQ(heard, 1);
}

TEST(DarwinNotifyTest, BadNamesAreRefusedAndLogged) {
  LogCapture log;
  std::string longest(1024, 'n'), tooLong(1025, 'n');
  Observer observer({longest, tooLong, ""});
  EXPECT_EQ(log.lines().size(), 2u);
  post(tooLong);
  post("");
  CFNotificationCenterPostNotification(Observer::centre(), nullptr, nullptr, nullptr, true);
  CFNotificationCenterAddObserver(Observer::centre(), &observer, nullptr, CFSTR("test.bad"),
                                  nullptr, CFNotificationSuspensionBehaviorHold);
  CFNotificationCenterAddObserver(nullptr, &observer, &Heard::record, CFSTR("test.bad"), nullptr,
                                  CFNotificationSuspensionBehaviorHold);
  EXPECT_EQ(log.lines().size(), 7u);
  EXPECT_FALSE(observeDarwinNotification(tooLong, [](const std::string&) {}).active());
  post(longest);
  settleMainLoop();
  EXPECT_EQ(observer.names, std::vector<std::string>{longest});
}
