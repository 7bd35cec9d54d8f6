#include "source/menu/menu_list_styling.h"

#include <algorithm>

#include "platform/foundation/key_value_coding.h"
#include "platform/foundation/ns_number.h"
#include "source/menu/menu_state.h"
#include "source/settings/settings.h"
#include "source/styling_support.h"

namespace menu_list_styling {
namespace {

// Which of the two outer views is styled: they differ in the captured colour they give the
// glass and in whether they frame themselves.
enum class Styled { container, list };

// Hides a menu view that encloses the one being laid out, above its direct superview.
void hideEnclosingMenu(UIView* view) {
  UIView* parent = view->superview();
  if (!parent) return;
  objc::Class* menu = objc_getClass("_UIContextMenuView");
  for (UIView* ancestor = parent->superview(); ancestor; ancestor = ancestor->superview()) {
    if (objc::isKindOf(ancestor, menu)) {
      ancestor->setHidden(true);
      return;
    }
  }
}

// Calls visit for every view three levels below root: the levels the host keeps the menu's
// effect views at, whose subviews are the blur backdrops.
template <class Visit>
void forEachThirdLevelView(UIView* root, Visit visit) {
  objc::Class* view = objc_getClass("UIView");
  for (const auto& first : root->subviews()) {
    if (!objc::isKindOf(first.get(), view)) continue;
    for (const auto& second : first->subviews()) {
      if (!objc::isKindOf(second.get(), view)) continue;
      for (const auto& third : second->subviews())
        visit(third.get());
    }
  }
}

void useClearGlass(UIView* backdrop) {
  setValueForKey(backdrop, NSNumber::numberWithLongLong(1).get(), "renderMode");
}

void tintGlass(UIView* backdrop, const Ref<UIColor>& color) {
  useClearGlass(backdrop);
  setValueForKey(backdrop, color.get(), "backgroundColor");
}

// The glass of one backdrop, in the order the settings are applied.
void styleBackdrop(UIView* backdrop, Styled styled, bool lockScreen) {
  const Settings& s = settings();
  const MenuState& state = menuState();
  if (s.renderMode && !lockScreen) useClearGlass(backdrop);
  if (s.elegantBorder && !lockScreen && !mentions(describe(backdrop), "CC")) {
    backdrop->layer()->setCornerRadius(s.cornerRadius);
  }
  if (s.renderModeLS && lockScreen) useClearGlass(backdrop);
  if (s.autoBackgroundColor && !lockScreen) {
    // The list view always takes the icon's colour; the container follows the open menu.
    bool iconColor = styled == Styled::list || state.isSBContextMenu;
    tintGlass(backdrop, iconColor ? state.color : state.color2);
  }
  if (s.LSautoBackgroundColor && lockScreen) tintGlass(backdrop, state.color2);
}

void styleBackdropsIn(UIView* view, Styled styled, bool lockScreen) {
  objc::Class* backdropClass = objc_getClass("_UIVisualEffectBackdropView");
  for (const auto& subview : view->subviews()) {
    if (objc::isKindOf(subview.get(), backdropClass))
      styleBackdrop(subview.get(), styled, lockScreen);
  }
}

void drawBorder(UIView* list, double width, const Ref<UIColor>& color, double radius) {
  CALayer* layer = list->layer();
  layer->setBorderWidth(width);
  list->setClipsToBounds(true);
  layer->setBorderColor(cgColorOf(color.get()));
  layer->setCornerRadius(radius);
  for (const auto& sublayer : layer->sublayers()) {
    sublayer->setCornerRadius(layer->cornerRadius());
    sublayer->setMasksToBounds(true);
  }
}

// The list's border: the home screen's around an icon's or a notification's menu, or the lock
// screen's.
void frameList(UIView* list, bool lockScreen) {
  const Settings& s = settings();
  const MenuState& state = menuState();
  if (s.elegantBorder && !lockScreen) {
    Ref<UIColor> color =
        state.isSBContextMenu ? colorForStyle(list, state.color, 4.0) : state.color2;
    drawBorder(list, s.borderThicknessHS, color, s.cornerRadius);
  } else if (s.LSelegantBorder && lockScreen) {
    drawBorder(list, s.borderThicknessLS, state.color2, s.LScornerRadius);
  }
}

}  // namespace

hook_boundary::HostMethod hostContextMenuLayoutSubviews;
hook_boundary::HostMethod hostListLayoutSubviews;

void contextMenuLayoutSubviews(UIView* self, SEL cmd) {
  hostContextMenuLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  if (systemMajorVersion() < 16) return;
  const bool lockScreen = isLockScreenVisible();
  hideEnclosingMenu(self);
  forEachThirdLevelView(
      self, [&](UIView* view) { styleBackdropsIn(view, Styled::container, lockScreen); });
}

void listLayoutSubviews(UIView* self, SEL cmd) {
  hostListLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  const bool lockScreen = isLockScreenVisible();
  hideEnclosingMenu(self);
  bool reachedThirdLevel = false;
  forEachThirdLevelView(self, [&](UIView* view) {
    styleBackdropsIn(view, Styled::list, lockScreen);
    reachedThirdLevel = true;
  });
  // The border touches only the list and its direct sublayers, never the backdrops, so framing
  // once after the walk ends as framing after each third-level view would.
  if (reachedThirdLevel) frameList(self, lockScreen);
}

Ref<UIColor> colorByAdjustingBrightness(UIView*, SEL, UIColor* color, double amount) {
  double hue, saturation, brightness, alpha;
  if (!color || !color->getHue(&hue, &saturation, &brightness, &alpha)) return nullptr;
  return UIColor::colorWithHue(hue, saturation, std::clamp(brightness + amount, 0.0, 1.0), alpha);
}

}  // namespace menu_list_styling
