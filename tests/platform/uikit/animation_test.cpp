// Animations as the device runs them: final values at once, completions later on the main run
// loop.
#include <gtest/gtest.h>

#include <vector>

#include "platform/foundation/run_loop.h"
#include "platform/uikit/ui_view.h"

namespace {

using std::chrono::milliseconds;
using Clock = std::chrono::steady_clock;

class AnimationTest : public ::testing::Test {
 protected:
  void TearDown() override { EXPECT_TRUE(UIView::finishAnimations()); }

  // An animation of the view's alpha to 0.5 whose completion notes its name.
  void fade(double duration, const char* name) {
    UIView::animateWithDuration(
        duration, [view = view] { view->setAlpha(0.5); },
        [this, name](bool finished) {
          EXPECT_TRUE(finished);
          completed.push_back(name);
        });
  }

  Ref<UIView> view = objc::make<UIView>();
  std::vector<std::string> completed;
};

TEST_F(AnimationTest, ZeroDurationCompletesOnTheNextTurnOfTheLoop) {
  // Started during a turn: the completion waits for the turn after it.
  RunLoop::main().perform([this] {
    fade(0, "zero");
    EXPECT_EQ(view->alpha(), 0.5);
  });
  RunLoop::main().runOnce(milliseconds::zero());
  EXPECT_TRUE(completed.empty());
  EXPECT_EQ(UIView::pendingAnimationCompletions(), 1u);
  RunLoop::main().runOnce(milliseconds::zero());
  EXPECT_EQ(completed, std::vector<std::string>{"zero"});
  EXPECT_EQ(UIView::pendingAnimationCompletions(), 0u);
}

TEST_F(AnimationTest, ACompletionRunsOnceItsDurationHasPassedAndNotBefore) {
  const Clock::time_point start = Clock::now();
  fade(0.05, "fade");
  EXPECT_EQ(view->alpha(), 0.5);
  RunLoop::main().runOnce(milliseconds::zero());
  if (Clock::now() - start < milliseconds(50)) {
    EXPECT_TRUE(completed.empty());
  }
  ASSERT_TRUE(
      RunLoop::main().runUntil([this] { return !completed.empty(); }, std::chrono::seconds(10)));
  EXPECT_GE(Clock::now() - start, milliseconds(50));
  // Its timer is gone with it: the loop never runs it again.
  RunLoop::main().runOnce(milliseconds(60));
  EXPECT_EQ(completed.size(), 1u);
}

TEST_F(AnimationTest, FinishingRunsCompletionsInTheOrderTheyFallDueWithThoseTheyStart) {
  const Clock::time_point start = Clock::now();
  fade(0.04, "late");
  UIView::animateWithDuration(0, {}, [this](bool) {
    completed.push_back("first");
    fade(0.02, "started by first");
  });
  fade(0, "second");
  EXPECT_TRUE(UIView::finishAnimations());
  EXPECT_EQ(completed, (std::vector<std::string>{"first", "second", "started by first", "late"}));
  EXPECT_GE(Clock::now() - start, milliseconds(40));
  // Nothing is left for the loop to run a second time.
  RunLoop::main().runOnce(milliseconds(50));
  EXPECT_EQ(completed.size(), 4u);
}

TEST_F(AnimationTest, FinishingLeavesWhatFallsDueBeyondItsBound) {
  fade(0, "now");
  fade(0.2, "later");
  EXPECT_FALSE(UIView::finishAnimations(milliseconds(10)));
  EXPECT_EQ(completed, std::vector<std::string>{"now"});
  EXPECT_EQ(UIView::pendingAnimationCompletions(), 1u);
}

TEST_F(AnimationTest, WhoWaitsForAnimationsHearsOnceTheLastCompletionHasRun) {
  fade(0.02, "fade");
  UIView::animateWithDuration(0, {}, [this](bool) { fade(0.01, "started later"); });
  UIView::whenAnimationsFinish([this] { completed.push_back("all done"); });
  ASSERT_TRUE(
      RunLoop::main().runUntil([this] { return completed.size() == 3; }, std::chrono::seconds(10)));
  EXPECT_EQ(completed.back(), "all done");
  // With nothing pending it answers on the loop's next turn, not inside the call.
  UIView::whenAnimationsFinish([this] { completed.push_back("idle"); });
  EXPECT_EQ(completed.size(), 3u);
  RunLoop::main().runOnce(milliseconds::zero());
  EXPECT_EQ(completed.back(), "idle");
}

TEST_F(AnimationTest, AnimationsWithoutACompletionLeaveNothingPending) {
  UIView::animateWithDuration(1, [this] { view->setHidden(true); }, {});
  EXPECT_TRUE(view->isHidden());
  EXPECT_EQ(UIView::pendingAnimationCompletions(), 0u);
}

}  // namespace
