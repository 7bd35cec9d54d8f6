#pragma once

#include <string_view>

#include "platform/graphics/geometry.h"
#include "platform/uikit/ui_view.h"

// What the menu styling hooks ask of the host on every pass, and the small view tests they
// share. Main thread only.

// Whether the lock screen shows, as SBLockScreenManager says; false on a system without it.
// The class is looked up until found, then kept.
bool isLockScreenVisible();

// The running system's major version, 0 when the process cannot tell.
long systemMajorVersion();

// Whether text holds word, case-sensitively. Views are tested by their `description`
// (describe()), which costs a text per call: build it once per view and test every word on it.
inline bool mentions(std::string_view text, std::string_view word) {
  return text.find(word) != std::string_view::npos;
}

// Whether the object's runtime class name holds word.
bool classNameContains(const NSObject* object, std::string_view word);

// Whether the view is dark by its traits (interface style 2).
bool isDark(const UIView* view);

// frame moved right by left and narrowed by left + right. A separator never turns into a
// negative width, which would draw it outside its menu: it stops at zero.
CGRect insetHorizontally(CGRect frame, double left, double right);

// color as the view shows it in its interface style: itself in light, and in dark brightened
// by amount through the view's own `colorByAdjustingBrightness:amount:` (none for no colour).
Ref<UIColor> colorForStyle(UIView* view, const Ref<UIColor>& color, double amount);
