#include "apps/vitrel/supervisor.h"

#include <gtest/gtest.h>

namespace {

using Clock = RestartPolicy::Clock;
using std::chrono::seconds;

// Time that passes only when the supervisor waits, and the waits it asked for.
struct FakeTime {
  Clock::time_point now{};
  std::vector<Clock::duration> waits;

  SupervisorTime time() {
    return {[this] { return now; },
            [this](Clock::duration wait, int) {
              waits.push_back(wait);
              now += wait;
              return false;
            }};
  }
};

}  // namespace

TEST(RestartPolicyTest, FailuresBackOffByDoublingAndTheFifthWithinAMinuteGivesUp) {
  RestartPolicy policy;
  Clock::time_point now{};
  for (seconds expected : {seconds(1), seconds(2), seconds(4), seconds(8)}) {
    EXPECT_EQ(policy.afterEnd(true, now, {}), std::optional<Clock::duration>(expected));
    now += expected;
  }
  EXPECT_EQ(policy.afterEnd(true, now, {}), std::nullopt);
}

TEST(RestartPolicyTest, WaitsAtMostHalfAMinuteAndForgetsFailuresOlderThanOne) {
  RestartPolicy policy;
  Clock::time_point now{};
  std::vector<Clock::duration> waits;
  // Failures after 20 s runs: never five within a minute, so the doubling reaches its ceiling.
  for (int i = 0; i < 8; ++i) {
    now += seconds(20);
    std::optional<Clock::duration> wait = policy.afterEnd(true, now, seconds(20));
    ASSERT_TRUE(wait) << "gave up at failure " << i + 1;
    waits.push_back(*wait);
    now += *wait;
  }
  EXPECT_EQ(waits,
            (std::vector<Clock::duration>{seconds(1), seconds(2), seconds(4), seconds(8),
                                          seconds(16), seconds(30), seconds(30), seconds(30)}));
}

TEST(RestartPolicyTest, ARespringRestartsAtOnceAndALongRunStartsTheCountAfresh) {
  RestartPolicy policy;
  Clock::time_point now{};
  for (int i = 0; i < 10; ++i)
    EXPECT_EQ(policy.afterEnd(false, now, {}), std::optional<Clock::duration>(Clock::duration{}));
  policy.afterEnd(true, now, {});
  EXPECT_EQ(policy.afterEnd(true, now += seconds(1), {}),
            std::optional<Clock::duration>(seconds(2)));
  EXPECT_EQ(policy.afterEnd(true, now += seconds(90), seconds(88)),
            std::optional<Clock::duration>(seconds(1)));
}

TEST(SupervisorTest, AProgramThatFailsAtOnceIsGivenUpWithOneReason) {
  FakeTime time;
  Result<void> ended = supervise({"/bin/false"}, time.time());
  ASSERT_FALSE(ended);
  EXPECT_EQ(ended.error(),
            "the springboard failed 5 times within a minute (the last exited with status 1); "
            "stopped supervising it: see `vitrel log`");
  EXPECT_EQ(time.waits,
            (std::vector<Clock::duration>{seconds(1), seconds(2), seconds(4), seconds(8)}));
}

TEST(SupervisorTest, AProgramThatCannotBeRunCountsAsFailing) {
  FakeTime time;
  Result<void> ended = supervise({"/nonexistent/springboard"}, time.time());
  ASSERT_FALSE(ended);
  EXPECT_NE(ended.error().find("exited with status 127"), std::string::npos) << ended.error();
}
