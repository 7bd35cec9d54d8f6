// Where a touch lands in a view tree, as the system finds it.
#include "platform/springboard/hit_testing.h"

#include <gtest/gtest.h>

namespace {

Ref<UIView> viewAt(UIView* parent, const CGRect& frame) {
  auto view = objc::make<UIView>();
  view->setFrame(frame);
  if (parent) parent->addSubview(view);
  return view;
}

}  // namespace

TEST(HitTestTest, TheTopmostDeepestViewWinsThroughEveryLevelsFrame) {
  Ref<UIView> root = viewAt(nullptr, CGRectMake(0, 0, 300, 300));
  Ref<UIView> panel = viewAt(root.get(), CGRectMake(100, 100, 100, 100));
  Ref<UIView> inner = viewAt(panel.get(), CGRectMake(10, 10, 20, 20));
  // Added later, so above the panel where they overlap.
  Ref<UIView> cover = viewAt(root.get(), CGRectMake(150, 150, 100, 100));

  EXPECT_EQ(hitTest(root.get(), {115, 115}), inner.get());  // 15,15 in the panel
  EXPECT_EQ(hitTest(root.get(), {105, 105}), panel.get());
  EXPECT_EQ(hitTest(root.get(), {160, 160}), cover.get());
  EXPECT_EQ(hitTest(root.get(), {50, 50}), root.get());
  // Right and bottom edges belong to the next view, as the system's point test has it.
  EXPECT_EQ(hitTest(root.get(), {130, 115}), panel.get());
  EXPECT_EQ(hitTest(root.get(), {300, 10}), nullptr);
  EXPECT_EQ(hitTest(root.get(), {-1, 10}), nullptr);
}

TEST(HitTestTest, HiddenClearAndOutOfBoundsBranchesAreSkipped) {
  Ref<UIView> root = viewAt(nullptr, CGRectMake(0, 0, 300, 300));
  Ref<UIView> under = viewAt(root.get(), CGRectMake(0, 0, 100, 100));
  Ref<UIView> hidden = viewAt(root.get(), CGRectMake(0, 0, 100, 100));
  hidden->setHidden(true);
  Ref<UIView> clear = viewAt(root.get(), CGRectMake(0, 0, 100, 100));
  clear->setAlpha(0.005);
  Ref<UIView> faint = viewAt(root.get(), CGRectMake(50, 50, 50, 50));
  faint->setAlpha(0.02);
  EXPECT_EQ(hitTest(root.get(), {10, 10}), under.get());
  EXPECT_EQ(hitTest(root.get(), {60, 60}), faint.get());

  // A subview standing out of its superview's bounds cannot be touched there, clipped or not.
  Ref<UIView> small = viewAt(root.get(), CGRectMake(200, 200, 10, 10));
  Ref<UIView> overhang = viewAt(small.get(), CGRectMake(0, 0, 80, 80));
  EXPECT_EQ(hitTest(root.get(), {205, 205}), overhang.get());
  EXPECT_EQ(hitTest(root.get(), {250, 250}), root.get());
  // A hidden root takes no touch at all.
  root->setHidden(true);
  EXPECT_EQ(hitTest(root.get(), {10, 10}), nullptr);
}
