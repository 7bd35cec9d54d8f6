#include "source/menu/reusable_views.h"

#include <optional>

#include "platform/foundation/log.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/value_conversion.h"
#include "source/menu/menu_state.h"
#include "source/settings/settings.h"
#include "source/styling_support.h"

namespace reusable_views {
namespace {

using objc::msgSend;
using objc::sel;

const char kHasCustomizedBackgroundColorKey = 0;

bool isSectionSeparator(const UICollectionReusableView* view) {
  const NSString* identifier = view->reuseIdentifier();
  return identifier && identifier->string() == "kContextMenuSectionSeparator";
}

// Whether the description of the view's subview list names a separator.
bool subviewsMentionSeparators(const UIView* view) {
  const std::string description = describe(view->subviewsArray().get());
  return mentions(description, "Separator") || mentions(description, "Reusable");
}

void colorSeparatorSubviews(UIView* view, const Ref<UIColor>& color) {
  for (const auto& subview : view->subviews()) {
    if (mentions(describe(subview.get()), "Separator")) subview->setBackgroundColor(color);
  }
}

// The home screen's thickness and inset applied to frame.
CGRect separatorGeometry(CGRect frame) {
  const Settings& s = settings();
  if (s.HSapplySepThickness) frame.size.height = s.septhickness;
  if (s.HSapplySepWidth) frame = insetHorizontally(frame, s.sepWidth, s.sepWidth);
  return frame;
}

// The frame the host gave a separator and the one the styling made of it, kept on the view as
// eight numbers. The host keeps item frames between its own layouts, so a pass that finds the
// styled frame again must start from the host's, or the insets would add up pass after pass.
const char kStyledFrameKey = 0;

struct StyledFrame {
  CGRect host, styled;
};

void rememberStyledFrame(UIView* view, const StyledFrame& frames) {
  NSArray::Objects numbers;
  for (const CGRect& rect : {frames.host, frames.styled}) {
    for (double value : {rect.origin.x, rect.origin.y, rect.size.width, rect.size.height})
      numbers.push_back(NSNumber::numberWithDouble(value));
  }
  objc_setAssociatedObject(view, &kStyledFrameKey, NSArray::from(std::move(numbers)).get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

std::optional<StyledFrame> styledFrameOf(UIView* view) {
  Ref<NSObject> stored = objc_getAssociatedObject(view, &kStyledFrameKey);
  auto* numbers = dynamic_cast<NSArray*>(stored.get());
  if (!numbers || numbers->count() != 8) return std::nullopt;
  auto at = [&](size_t i) { return doubleValueOf(numbers->objects()[i].get()); };
  return StyledFrame{CGRectMake(at(0), at(1), at(2), at(3)),
                     CGRectMake(at(4), at(5), at(6), at(7))};
}

// The geometry steps: by the subviews' names, then, for a section separator, once more. They
// start from the frame the host laid the view out at: the one it has, unless that is the
// styled frame of an earlier pass.
void applySeparatorGeometry(UIView* view, bool namesSeparators, bool sectionSeparator) {
  const std::optional<StyledFrame> before = styledFrameOf(view);
  const CGRect current = view->frame();
  StyledFrame frames{before && before->styled == current ? before->host : current, {}};
  frames.styled = frames.host;
  if (namesSeparators) frames.styled = separatorGeometry(frames.styled);
  if (sectionSeparator) frames.styled = separatorGeometry(frames.styled);
  view->setFrame(frames.styled);
  if (!before || before->host != frames.host || before->styled != frames.styled) {
    rememberStyledFrame(view, frames);
  }
}

// A section separator of an icon's menu shows the icon's colour instead of its material.
void colorSectionSeparator(UICollectionReusableView* view) {
  Ref<UIView> material = msgSend<Ref<UIView>>(view, sel("findMaterialViewInView:"), view);
  if (material) material->removeFromSuperview();
  view->setBackgroundColor(colorForStyle(view, menuState().color, 4.0));
  msgSend<void>(view, sel("setHasCustomizedBackgroundColor:"), true);
}

// Sets the background in an animation of that duration; once done, marks it customised. The
// completion runs after this returns, so it keeps the view alive itself.
void animateBackground(UICollectionReusableView* view, double duration, const Ref<UIColor>& color) {
  UIView::animateWithDuration(
      duration, [&] { view->setBackgroundColor(color); },
      [view = Ref<UICollectionReusableView>(view)](bool) {
        msgSend<void>(view, sel("setHasCustomizedBackgroundColor:"), true);
      });
}

Ref<UIView> firstMaterialViewBelow(UIView* view, objc::Class* material) {
  for (const auto& subview : view->subviews()) {
    if (objc::isKindOf(subview.get(), material)) return subview;
    if (Ref<UIView> found = firstMaterialViewBelow(subview.get(), material)) return found;
  }
  return nullptr;
}

}  // namespace

hook_boundary::HostMethod hostReusableLayoutSubviews;
hook_boundary::HostMethod hostVibrantSeparatorLayoutSubviews;

bool hasCustomizedBackgroundColor(UICollectionReusableView* self, SEL) {
  return boolValueOf(objc_getAssociatedObject(self, &kHasCustomizedBackgroundColorKey).get());
}

void setHasCustomizedBackgroundColor(UICollectionReusableView* self, SEL, bool customized) {
  objc_setAssociatedObject(self, &kHasCustomizedBackgroundColorKey,
                           NSNumber::numberWithBool(customized).get(),
                           OBJC_ASSOCIATION_RETAIN_NONATOMIC);
}

Ref<UIView> findMaterialViewInView(UICollectionReusableView*, SEL, UIView* view) {
  objc::Class* material = objc_getClass("MTMaterialView");
  return view && material ? firstMaterialViewBelow(view, material) : nullptr;
}

void reusableLayoutSubviews(UICollectionReusableView* self, SEL cmd) {
  hostReusableLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  const bool lockScreen = isLockScreenVisible();
  const Settings& s = settings();
  const MenuState& state = menuState();
  if (state.isSBContextMenu && !lockScreen && s.colorHSThinSeparators) {
    colorSeparatorSubviews(self, state.color);
  }
  if (lockScreen && !state.isSBContextMenu) msgSend<void>(self, sel("customizeBackgroundColorLS"));
  const bool sectionSeparator = isSectionSeparator(self);
  if (state.isSBContextMenu && s.colorHSBoldSeparators && !lockScreen && sectionSeparator) {
    colorSectionSeparator(self);
  }
  // The geometry is an icon menu's only, on either screen. A section separator whose subviews
  // also name a separator is inset by both steps.
  if (!state.isSBContextMenu) return;
  const bool namesSeparators = subviewsMentionSeparators(self);
  if (namesSeparators || sectionSeparator) {
    applySeparatorGeometry(self, namesSeparators, sectionSeparator);
  }
}

// Lock-screen separators take the notification's colour from the cells' side; this only
// decides which would, and changes nothing.
void customizeBackgroundColorLS(UICollectionReusableView* self, SEL) {
  const Settings& s = settings();
  const bool lockScreen = isLockScreenVisible();
  [[maybe_unused]] const bool bold =
      msgSend<bool>(self, sel("shouldColorBoldSeparatorsForLockScreen")) &&
      s.colorLSBoldSeparators && lockScreen;
  [[maybe_unused]] const bool thin =
      msgSend<bool>(self, sel("shouldColorThinSeparatorsForLockScreen")) &&
      s.colorLSThinSeparators && lockScreen;
}

void customizeBackgroundColorHS(UICollectionReusableView* self, SEL) {
  const Settings& s = settings();
  const MenuState& state = menuState();
  const SEL predicate = sel("shouldColorThinSeparatorsForHomeScreen");
  NSLog(
      "Customize background called. Should color: %d, isSBContextMenu: %d, "
      "colorHSThinSeparators: %d",
      msgSend<bool>(self, predicate), state.isSBContextMenu, s.colorHSThinSeparators);
  if (msgSend<bool>(self, predicate) && s.colorHSThinSeparators) {
    NSLog("Applying background color for HS Thin Separators");
    animateBackground(self, 0.0, colorForStyle(self, state.color, 4.0));
  }
}

bool shouldColorThinSeparatorsForHomeScreen(UICollectionReusableView* self, SEL) {
  NSLog("Checking context menu cell existence within: %@", self);
  if (msgSend<bool>(self, sel("isViewOrAncestorAContextMenuCell:"), self)) {
    NSLog("_UIContextMenuCell detected. Skipping coloring.");
    return false;
  }
  NSLog("isSBContextMenu: %d", menuState().isSBContextMenu);
  return menuState().isSBContextMenu;
}

bool isViewOrAncestorAContextMenuCell(UICollectionReusableView*, SEL, UIView* view) {
  objc::Class* cell = objc_getClass("_UIContextMenuCell");
  for (UIView* ancestor = view; ancestor; ancestor = ancestor->superview()) {
    if (objc::isKindOf(ancestor, cell)) return true;
  }
  return false;
}

void applyModificationsConditionally(UICollectionReusableView* self, SEL) {
  if (!menuState().isSBContextMenu) return;
  for (const auto& subview : self->subviews()) {
    if (!msgSend<bool>(self, sel("isViewOrAncestorAContextMenuCell:"), subview.get())) {
      subview->setBackgroundColor(nullptr);
    }
  }
}

bool shouldColorBoldSeparatorsForLockScreen(UICollectionReusableView* self, SEL) {
  return !menuState().isSBContextMenu && isSectionSeparator(self) && isLockScreenVisible();
}

bool shouldColorThinSeparatorsForLockScreen(UICollectionReusableView* self, SEL) {
  return !menuState().isSBContextMenu && subviewsMentionSeparators(self) && isLockScreenVisible();
}

void customizeBackgroundColorBoldSeparators(UICollectionReusableView* self, SEL) {
  const Settings& s = settings();
  const MenuState& state = menuState();
  const SEL predicate = sel("shouldColorBoldSeparatorsForHomeScreen");
  NSLog(
      "Customize background called for bold separators. Should color: %d, isSBContextMenu: %d, "
      "colorHSBoldSeparators: %d",
      msgSend<bool>(self, predicate), state.isSBContextMenu, s.colorHSBoldSeparators);
  if (msgSend<bool>(self, predicate) && s.colorHSBoldSeparators) {
    NSLog("Applying background color for HS Bold Separators");
    animateBackground(self, 0.3, state.color);
  }
}

// Whether it is an icon's menu is only logged: any section separator answers true.
bool shouldColorBoldSeparatorsForHomeScreen(UICollectionReusableView* self, SEL) {
  NSLog("ZQK isSBContextMenu %d", menuState().isSBContextMenu);
  return isSectionSeparator(self);
}

// Action groups keep their separators, whatever hid them.
void vibrantSeparatorLayoutSubviews(UIView* self, SEL cmd) {
  hostVibrantSeparatorLayoutSubviews.call<void>(self, cmd);
  if (!settings().enabled) return;
  self->setHidden(false);
}

}  // namespace reusable_views
