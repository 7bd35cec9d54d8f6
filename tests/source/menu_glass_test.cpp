// The glass behind a menu as the injected library leaves it: the lock screen's own switches,
// the glass it must not touch, and the enclosing menu the outer menu view hides from 16 on.
#include <gtest/gtest.h>

#include <array>

#include "platform/foundation/process_info.h"
#include "platform/uikit/ui_visual_effect_view.h"
#include "support/home_screen_fixture.h"
#include "support/view_search.h"

namespace {

using view_search::viewsOf;

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps";

long renderModeOf(const UIView* backdrop) {
  return dynamic_cast<const VisualEffectBackdropView*>(backdrop)->renderMode();
}

// The glass behind the menu's actions, not the dimming behind the whole menu.
std::vector<UIView*> glassOf(const HomeScreen::OpenMenu& menu) {
  std::vector<UIView*> glass;
  for (UIView* list : viewsOf(menu.root.get(), "_UIContextMenuListView")) {
    std::vector<UIView*> below = viewsOf(list, "_UIVisualEffectBackdropView");
    glass.insert(glass.end(), below.begin(), below.end());
  }
  return glass;
}

bool isRounded(const UIView* view, double radius) {
  return view->layer()->cornerRadius() == radius && view->layer()->masksToBounds();
}

class MenuGlassTest : public HomeScreenFixture {
 protected:
  static void SetUpTestSuite() {
    HomeScreenFixture::SetUpTestSuite();
    // An action sheet's group, as UIKit names it.
    if (!objc_getClass("_UIInterfaceActionGroupView")) {
      objc_registerClassPair(
          objc_allocateClassPair(objc_getClass("UIView"), "_UIInterfaceActionGroupView", 0));
    }
  }

  // The glass of the open menu is the host's: the system material, no colour of its own.
  static void expectHostsGlass(const HomeScreen::OpenMenu& menu) {
    ASSERT_FALSE(glassOf(menu).empty());
    for (UIView* glass : glassOf(menu)) {
      EXPECT_EQ(renderModeOf(glass), 0);
      EXPECT_FALSE(glass->backgroundColor());
    }
  }
};

// A menu's glass as the glass hook meets it: the backdrop in its effect view, under a plain view
// and the menu's container, held by holder. Innermost first.
std::array<Ref<UIView>, 4> menuGlassIn(UIView* holder) {
  auto container = HomeScreenFixture::add("_UIContextMenuContainerView", holder);
  auto plain = HomeScreenFixture::add("UIView", container.get());
  auto effect = HomeScreenFixture::add("UIVisualEffectView", plain.get());
  return {HomeScreenFixture::add("_UIVisualEffectBackdropView", effect.get()), effect, plain,
          container};
}

}  // namespace

TEST_F(MenuGlassTest, TheLockScreensGlassSwitchesActOnlyWhileItShows) {
  useSettings({{"renderModeLS", on()}, {"LSautoBackgroundColor", on()}});
  // Unlocked, neither an icon's menu nor a banner's takes them.
  expectHostsGlass(home->pressIcon(home->appIconView(kMail)));
  expectHostsGlass(home->pressNotification(kMaps));
  ASSERT_TRUE(state().color && state().color2);
  ASSERT_NE(state().color->color(), state().color2->color());

  home->showLockScreen(true);
  HomeScreen::OpenMenu locked = home->pressNotification(kMaps);
  home->layoutPass();
  ASSERT_FALSE(glassOf(locked).empty());
  for (UIView* glass : glassOf(locked)) {
    EXPECT_EQ(renderModeOf(glass), 1);
    EXPECT_EQ(glass->backgroundColor(), state().color2);
  }

  // And the home screen's switches leave the lock screen's glass to the host.
  useSettings({{"renderMode", on()}, {"autoBackgroundColor", on()}});
  expectHostsGlass(home->pressNotification(kMaps));
}

TEST_F(MenuGlassTest, OnFifteenOnlyTheListHidesAnEnclosingMenu) {
  for (long version : {15, 16}) {
    SCOPED_TRACE(version);
    NSProcessInfo::processInfo()->setOperatingSystemVersion({version, 0, 0});
    auto aroundMenu = add("_UIContextMenuView");
    auto menu = add("_UIContextMenuView", add("UIView", aroundMenu.get()).get());
    layOut(menu.get());
    EXPECT_EQ(aroundMenu->isHidden(), version >= 16);

    auto aroundList = add("_UIContextMenuView");
    auto list = add("_UIContextMenuListView", add("UIView", aroundList.get()).get());
    layOut(list.get());
    EXPECT_TRUE(aroundList->isHidden());
  }
}

TEST_F(MenuGlassTest, GlassInAnActionGroupKeepsItsCorners) {
  useSettings({{"elegantBorder", on()},
               {"cornerRadius", number(12)},
               {"LSelegantBorder", on()},
               {"LScornerRadius", number(20)}});
  auto plain = add("UIView"), group = add("_UIInterfaceActionGroupView");
  const auto menuGlass = menuGlassIn(plain.get()), actionGlass = menuGlassIn(group.get());
  layOut(menuGlass.front().get());
  layOut(actionGlass.front().get());
  for (const auto& view : menuGlass)
    EXPECT_TRUE(isRounded(view.get(), 12)) << view->descriptionText();
  for (const auto& view : actionGlass)
    EXPECT_FALSE(view->layer()->masksToBounds()) << view->descriptionText();

  // The lock screen rounds the glass's own subtree first, then stops at the group too.
  setLockScreen(true);
  layOut(actionGlass.front().get());
  EXPECT_TRUE(isRounded(actionGlass.front().get(), 20));
  for (size_t i = 1; i < actionGlass.size(); ++i)
    EXPECT_FALSE(actionGlass[i]->layer()->masksToBounds()) << actionGlass[i]->descriptionText();
}
