// A menu's list and its glass: brightness, the border and corners, and the enclosing
// menu hidden, on each layout pass.
#include "support/menu_styling_fixture.h"

using namespace menu_styling;

TEST_F(ListTest, BrightnessIsRaisedAndClampedAlikeOnAllThreeClasses) {
  auto color = UIColor::colorWithHue(0.6, 0.5, 0.9, 0.7);
  for (const char* className :
       {"_UIContextMenuListView", "_UIContextMenuCell", "UICollectionReusableView"}) {
    auto view = add(className);
    auto adjust = [&](const UIColor* c, double amount) {
      return msgSend<Ref<UIColor>>(view, sel("colorByAdjustingBrightness:amount:"), c, amount);
    };
    expectHSBA(adjust(color.get(), 0.25)->color(), {0.6, 0.5, 1.0, 0.7});
    EXPECT_EQ(adjust(color.get(), -2.0)->color().hsba()->brightness, 0.0);
    expectHSBA(adjust(color.get(), -0.4)->color(), {0.6, 0.5, 0.5, 0.7});
    EXPECT_FALSE(adjust(nullptr, 4.0)) << className;
  }
}

TEST_F(ListTest, OnSystem15OnlyTheListStylesItsGlass) {
  useSettings({{"renderMode", on()}});
  NSProcessInfo::processInfo()->setOperatingSystemVersion({15, 0, 0});
  MenuTree tree;
  tree.layOutBoth();
  EXPECT_EQ(renderModeOf(tree.menuGlass.get()), 0);
  EXPECT_EQ(renderModeOf(tree.listGlass.get()), 1);

  NSProcessInfo::processInfo()->setOperatingSystemVersion({16, 0, 0});
  tree.layOutBoth();
  EXPECT_EQ(renderModeOf(tree.menuGlass.get()), 1);
  // The list's own menu view is its superview, not an enclosing menu.
  EXPECT_FALSE(tree.menu->isHidden());
}

TEST_F(ListTest, ANotificationsMenuGlassIsTintedByWhichViewReachesIt) {
  openNotificationMenuAfterIconMenu();
  ASSERT_FALSE(state().isSBContextMenu);
  ASSERT_NE(rgbaOf(state().color.get()), rgbaOf(state().color2.get()));
  useSettings({{"autoBackgroundColor", on()}});
  MenuTree tree;
  tree.layOutBoth();
  EXPECT_EQ(rgbaOf(tree.menuGlass->backgroundColor().get()), rgbaOf(state().color2.get()));
  EXPECT_EQ(rgbaOf(tree.listGlass->backgroundColor().get()), rgbaOf(state().color.get()));
  EXPECT_EQ(renderModeOf(tree.menuGlass.get()), 1);
}

TEST_F(ListTest, GlassMentioningCCKeepsItsCorners) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(12)}});
  MenuTree tree;
  auto controlCentreGlass = add("CCUIBackdropView", tree.menuGlass->superview());
  tree.layOutBoth();
  EXPECT_EQ(tree.menuGlass->layer()->cornerRadius(), 12);
  EXPECT_EQ(controlCentreGlass->layer()->cornerRadius(), 0);
}

TEST_F(ListTest, TheBorderFollowsTheScreenTheMenuAndTheStyle) {
  openIconMenu();
  useSettings({{"elegantBorder", on()},
               {"cornerRadius", number(12)},
               {"borderThicknessHS", number(2)},
               {"LSelegantBorder", on()},
               {"LScornerRadius", number(9)},
               {"borderThicknessLS", number(4)}});
  MenuTree tree;
  layOut(tree.list.get());
  CALayer* layer = tree.list->layer();
  EXPECT_EQ(layer->borderWidth(), 2);
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color.get()));
  EXPECT_TRUE(isRounded(tree.list.get(), 12));
  for (const auto& sublayer : layer->sublayers()) {
    EXPECT_EQ(sublayer->cornerRadius(), 12);
    EXPECT_TRUE(sublayer->masksToBounds());
  }

  tree.menu->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  layOut(tree.list.get());
  expectHSBA(layer->borderColor(), fullyBright(state().color.get()));

  openNotificationMenuAfterIconMenu();
  layOut(tree.list.get());
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color2.get()));

  setLockScreen(true);
  openIconMenu();  // the lock screen's border is the notification's colour, whatever the menu
  layOut(tree.list.get());
  EXPECT_EQ(layer->borderWidth(), 4);
  EXPECT_EQ(layer->borderColor(), cgColorOf(state().color2.get()));
  EXPECT_TRUE(isRounded(tree.list.get(), 9));
  EXPECT_EQ(layer->sublayers().front()->cornerRadius(), 9);
}

TEST_F(ListTest, AListWithoutAThirdLevelIsNotFramedButStillHidesItsEnclosingMenu) {
  useSettings({{"elegantBorder", on()}, {"cornerRadius", number(12)}, {"renderMode", on()}});
  auto enclosing = add("_UIContextMenuView");
  auto list = add("_UIContextMenuListView", add("UIView", enclosing.get()).get());
  add("UIView", add("UIView", list.get()).get());
  layOut(list.get());
  EXPECT_TRUE(enclosing->isHidden());
  EXPECT_EQ(list->layer()->borderWidth(), 0);
  EXPECT_EQ(list->layer()->cornerRadius(), 0);
}

TEST_F(ListTest, AnIconsMenuKeepsItsStyleOverLayoutPasses) {
  useSettings({{"renderMode", on()},
               {"autoBackgroundColor", on()},
               {"elegantBorder", on()},
               {"cornerRadius", number(16)},
               {"borderThicknessHS", number(1.5)},
               {"colorHSBoldSeparators", on()},
               {"HSapplySepThickness", on()},
               {"septhickness", number(0.5)},
               {"HSapplySepWidth", on()},
               {"sepWidth", number(10)}});
  HomeScreen::OpenMenu menu = home->pressIcon(home->appIconView(kMail));
  home->layoutPass();
  std::vector<UIView*> lists = viewsOf(menu.root.get(), "_UIContextMenuListView");
  ASSERT_EQ(lists.size(), 1u);
  EXPECT_EQ(lists.front()->layer()->borderWidth(), 1.5);
  EXPECT_EQ(lists.front()->layer()->borderColor(), cgColorOf(state().color.get()));

  // The menu's glass, reached from the outer menu view.
  std::vector<UIView*> glass = viewsOf(lists.front(), "_UIVisualEffectBackdropView");
  ASSERT_EQ(glass.size(), 1u);
  EXPECT_EQ(renderModeOf(glass.front()), 1);
  EXPECT_EQ(glass.front()->backgroundColor(), state().color);
  EXPECT_TRUE(isRounded(glass.front(), 16));

  // The host lays separators out anew on each pass: the insets do not add up.
  for (UIView* view : viewsOf(menu.root.get(), "UICollectionReusableView")) {
    auto* reusable = dynamic_cast<UICollectionReusableView*>(view);
    if (!reusable->reuseIdentifier()) continue;
    EXPECT_EQ(view->backgroundColor(), state().color);
    expectFrame(view, 10, view->frame().origin.y, 230, 0.5);
  }
}
