// The glass behind a menu rounded on each screen, with each screen's exclusions.
#include "support/menu_styling_fixture.h"

using namespace menu_styling;

namespace {

// The classes of a glass's surroundings.
struct GlassClasses {
  const char* parent = "UIVisualEffectView";
  const char* grandparent = "UIView";
  const char* above = "_UIContextMenuContainerView";
};

// A menu's glass: the backdrop B in its effect view P, under G and T.
struct GlassTree {
  Ref<UIView> above, grandparent, parent, backdrop, inner;

  explicit GlassTree(GlassClasses classes = {}, UIView* outside = nullptr) {
    above = add(classes.above, outside);
    grandparent = add(classes.grandparent, above.get());
    parent = add(classes.parent, grandparent.get());
    backdrop = add("_UIVisualEffectBackdropView", parent.get());
    inner = add("UIView", add("UIView", backdrop.get()).get());
  }
};

}  // namespace

TEST_F(GlassTest, TheHomeScreenRoundsTheGlassAndEachViewAroundItOnItsOwnTerms) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(18)}});
  GlassTree tree;
  layOut(tree.backdrop.get());
  for (UIView* view : {tree.backdrop.get(), tree.parent.get(), tree.grandparent.get(),
                       tree.above.get(), tree.backdrop->subviews().front().get()}) {
    EXPECT_TRUE(isRounded(view, 18));
  }
  EXPECT_EQ(tree.inner->layer()->cornerRadius(), 0);  // below the direct sublayers

  // An alert's effect view, under a grandparent that rounds nothing below it.
  GlassTree alert({.parent = "AlertUIVisualEffectView", .grandparent = "_UICutoutShadowView"});
  layOut(alert.backdrop.get());
  EXPECT_TRUE(isRounded(alert.backdrop.get(), 18));
  EXPECT_FALSE(alert.parent->layer()->masksToBounds());
  EXPECT_TRUE(isRounded(alert.above.get(), 18));

  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(0)}});
  layOut(tree.backdrop.get());
  EXPECT_TRUE(isRounded(tree.backdrop.get(), 0));
}

TEST_F(GlassTest, EachScreenHasItsOwnExclusions) {
  useSettings({{"elegantBorder", on()},
               {"cornerRadius", number(10)},
               {"LSelegantBorder", on()},
               {"LScornerRadius", number(20)}});
  auto board = add("SBDashBoardView");
  GlassTree homeTree({}, board.get());
  layOut(homeTree.backdrop.get());
  EXPECT_TRUE(isRounded(homeTree.parent.get(), 10));

  setLockScreen(true);
  GlassTree lockTree({}, board.get());
  layOut(lockTree.backdrop.get());
  EXPECT_TRUE(isRounded(lockTree.inner.get(), 20));  // the subtree, before the exclusion
  EXPECT_FALSE(lockTree.parent->layer()->masksToBounds());

  auto controlCentre = add("CCUIModuleView");
  GlassTree ccTree({}, controlCentre.get());
  layOut(ccTree.backdrop.get());
  EXPECT_TRUE(isRounded(ccTree.backdrop.get(), 20));
  EXPECT_FALSE(ccTree.parent->layer()->masksToBounds());
  setLockScreen(false);
  ccTree.backdrop->layer()->setCornerRadius(7);
  layOut(ccTree.backdrop.get());
  EXPECT_EQ(ccTree.backdrop->layer()->cornerRadius(), 7);
}

TEST_F(GlassTest, TheLockScreenNeedsItsOwnSwitchAndSkipsTheGrandparent) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(10)}});
  setLockScreen(true);
  GlassTree tree({.above = "UIView"});
  layOut(tree.backdrop.get());
  EXPECT_FALSE(tree.backdrop->layer()->masksToBounds());

  useSettings({{"LSelegantBorder", on()}, {"LScornerRadius", number(14)}});
  layOut(tree.backdrop.get());
  EXPECT_TRUE(isRounded(tree.backdrop.get(), 14));
  EXPECT_TRUE(isRounded(tree.parent.get(), 14));
  EXPECT_FALSE(tree.grandparent->layer()->masksToBounds());
  EXPECT_FALSE(tree.above->layer()->masksToBounds());

  GlassTree inMenu;
  layOut(inMenu.backdrop.get());
  EXPECT_TRUE(isRounded(inMenu.above.get(), 14));
}
