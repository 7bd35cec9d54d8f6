#include "source/styling_support.h"

#include <algorithm>

#include "platform/foundation/process_info.h"

using objc::msgSend;
using objc::sel;

bool isLockScreenVisible() {
  // Kept once found: the class cannot go away, but a lookup on every pass costs.
  static objc::Class* manager = nullptr;
  if (!manager) manager = objc_getClass("SBLockScreenManager");
  // Asked on every pass of every styled view: the selectors are interned once.
  static const SEL sharedInstance = sel("sharedInstance");
  static const SEL isVisible = sel("isLockScreenVisible");
  return msgSend<bool>(msgSend<Ref<NSObject>>(manager, sharedInstance), isVisible);
}

long systemMajorVersion() {
  NSProcessInfo* info = NSProcessInfo::processInfo();
  return info ? static_cast<long>(info->operatingSystemVersion().majorVersion) : 0;
}

bool classNameContains(const NSObject* object, std::string_view word) {
  return object && mentions(class_getName(object_getClass(object)), word);
}

bool isDark(const UIView* view) {
  return view->traitCollection()->userInterfaceStyle() == UIUserInterfaceStyleDark;
}

CGRect insetHorizontally(CGRect frame, double left, double right) {
  frame.origin.x += left;
  frame.size.width = std::max(0.0, frame.size.width - left - right);
  return frame;
}

Ref<UIColor> colorForStyle(UIView* view, const Ref<UIColor>& color, double amount) {
  if (!isDark(view)) return color;
  static const SEL adjust = sel("colorByAdjustingBrightness:amount:");
  return msgSend<Ref<UIColor>>(view, adjust, color.get(), amount);
}
