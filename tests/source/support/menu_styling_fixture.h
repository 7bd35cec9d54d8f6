#pragma once

// The injected library's test variant on a simulated home screen, with small view trees of the
// system's own classes built to the shape each case of a menu's styling needs. One load of the
// library per test program.

#include <gtest/gtest.h>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/process_info.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/sb_icon_controller.h"
#include "platform/uikit/ui_collection_view.h"
#include "platform/uikit/ui_label.h"
#include "platform/uikit/ui_stack_view.h"
#include "platform/uikit/ui_visual_effect_view.h"
#include "source/menu/menu_state.h"
#include "support/home_screen_fixture.h"
#include "support/injected_host.h"
#include "support/settings_probe.h"
#include "support/view_search.h"

namespace menu_styling {

using objc::msgSend;
using objc::sel;

const std::string kMail = "com.vitrel.sample.mail", kMaps = "com.vitrel.sample.maps";

// The fixture's builders, for the view trees built outside a test's body.
inline constexpr auto on = &HomeScreenFixture::on;
inline constexpr auto number = &HomeScreenFixture::number;
inline constexpr auto layOut = &HomeScreenFixture::layOut;
template <class T = UIView>
Ref<T> add(const char* className, UIView* parent = nullptr) {
  return HomeScreenFixture::add<T>(className, parent);
}

// A class whose name holds a word the library looks for.
inline void defineTestClass(const char* name, const char* superclass) {
  if (objc_getClass(name)) return;
  objc_registerClassPair(objc_allocateClassPair(objc_getClass(superclass), name, 0));
}

inline long renderModeOf(const UIView* backdrop) {
  return dynamic_cast<const VisualEffectBackdropView*>(backdrop)->renderMode();
}

inline std::optional<RGBA> rgbaOf(const UIColor* color) {
  return color ? color->color().rgba() : std::nullopt;
}

// The colour at full brightness, with its hue, saturation and alpha.
inline HSBA fullyBright(const UIColor* color) {
  HSBA hsba = *color->color().hsba();
  hsba.brightness = 1.0;
  return hsba;
}

inline void expectHSBA(const std::optional<Color>& got, const HSBA& expected) {
  ASSERT_TRUE(got && got->hsba());
  EXPECT_NEAR(got->hsba()->hue, expected.hue, 1e-9);
  EXPECT_NEAR(got->hsba()->saturation, expected.saturation, 1e-9);
  EXPECT_NEAR(got->hsba()->brightness, expected.brightness, 1e-9);
  EXPECT_NEAR(got->hsba()->alpha, expected.alpha, 1e-9);
}

inline void expectFrame(const UIView* view, double x, double y, double width, double height) {
  CGRect frame = view->frame();
  EXPECT_DOUBLE_EQ(frame.origin.x, x);
  EXPECT_DOUBLE_EQ(frame.origin.y, y);
  EXPECT_DOUBLE_EQ(frame.size.width, width);
  EXPECT_FLOAT_EQ(static_cast<float>(frame.size.height), static_cast<float>(height));
}

using view_search::viewsOf;

inline bool isRounded(const UIView* view, double radius) {
  return view->layer()->cornerRadius() == radius && view->layer()->masksToBounds();
}

class MenuStylingTest : public HomeScreenFixture {
 protected:
  static void SetUpTestSuite() {
    HomeScreenFixture::SetUpTestSuite();
    defineTestClass("CCUIModuleView", "UIView");
    defineTestClass("SBDashBoardView", "UIView");
    defineTestClass("AlertUIVisualEffectView", "UIVisualEffectView");
    defineTestClass("CCUIBackdropView", "_UIVisualEffectBackdropView");
  }

  // An icon's menu opens: `color` is the icon's, and the menu is an icon's.
  static void openIconMenu() { home->pressIcon(home->appIconView(kMail)); }
  // After an icon's, a notification's menu: `color2` is its app's, `color` stays the icon's.
  static void openNotificationMenuAfterIconMenu() {
    openIconMenu();
    home->pressNotification(kMaps);
  }
};

// The outer menu view and its list, with one glass the menu view reaches (four levels below
// it) and one the list reaches (four levels below the list).
struct MenuTree {
  Ref<UIView> menu = add("_UIContextMenuView");
  Ref<UIView> list = add("_UIContextMenuListView", menu.get());
  Ref<UIView> menuGlass, listGlass;

  MenuTree() {
    auto clipping = add("UIView", list.get());
    menuGlass = add("_UIVisualEffectBackdropView", add("UIVisualEffectView", clipping.get()).get());
    auto wrapper = add("UIView", add("UIView", clipping.get()).get());
    listGlass = add("_UIVisualEffectBackdropView", wrapper.get());
  }
  void layOutBoth() const {
    layOut(menu.get());
    layOut(list.get());
  }
};

using ListTest = MenuStylingTest;
using CellTest = MenuStylingTest;
using GlassTest = MenuStylingTest;
using ReusableViewTest = MenuStylingTest;
using SeparatorVisibilityTest = MenuStylingTest;

}  // namespace menu_styling
