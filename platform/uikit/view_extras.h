#pragma once

#include <optional>
#include <vector>

#include "platform/uikit/ui_font.h"
#include "platform/uikit/ui_label.h"

class NSLayoutConstraint;

enum UIViewContentMode : long {
  UIViewContentModeScaleToFill = 0,
  UIViewContentModeScaleAspectFit = 1,
  UIViewContentModeScaleAspectFill = 2,
  UIViewContentModeCenter = 4,
};

enum UIViewAutoresizing : unsigned long {
  UIViewAutoresizingNone = 0,
  UIViewAutoresizingFlexibleWidth = 1 << 1,
  UIViewAutoresizingFlexibleHeight = 1 << 4,
};

// What views carry in the Settings host beyond the core view model: tint, content mode,
// resizing, touch handling, constraints and, for labels, fonts and highlighted colours. Kept
// beside each view (as an associated object) so that every view class has them, the host's
// and the bundle's alike.
class ViewExtras : public NSObject {
 public:
  // A tap recogniser: sends action to target (held weakly; the target owns the view).
  struct Tap {
    NSObject* target = nullptr;
    SEL action = nullptr;
  };

  Ref<UIColor> tintColor;  // nil: inherited from the superview
  UIViewContentMode contentMode = UIViewContentModeScaleToFill;
  unsigned long autoresizingMask = UIViewAutoresizingNone;
  // The superview's size when the mask was set: growth beyond it goes to flexible sides.
  std::optional<CGSize> autoresizingReference;
  // Visual effect views: the style of their blur effect, if any.
  std::optional<long> blurEffectStyle;
  bool translatesAutoresizingMaskIntoConstraints = true;
  bool userInteractionEnabled = true;
  std::vector<Tap> taps;
  // Active constraints whose first item is this view.
  std::vector<Ref<NSLayoutConstraint>> constraints;

  // Labels only.
  Ref<UIFont> font;
  Ref<UIColor> highlightedTextColor;
  Ref<NSAttributedString> attributedText;
};

// The extras of a view, made on first use.
ViewExtras& extrasOf(UIView* view);
// The extras if the view has any, else null; never makes them.
const ViewExtras* existingExtrasOf(const UIView* view);

// The view's own tint, else its nearest ancestor's, else the system's blue.
Ref<UIColor> effectiveTintColor(const UIView* view);
// Sets the view's own tint and sends `tintColorDidChange` to it and to every descendant
// that inherits it, as the platform does.
void setTintColor(UIView* view, Ref<UIColor> color);

// A label's font (the system font of 17 points until set). Setting it also sets the size and
// weight the core label measures and draws with.
Ref<UIFont> fontOf(UILabel* label);
void setFont(UILabel* label, Ref<UIFont> font);
// Sets the text and the fonts of its ranges; the label's text becomes the plain string.
void setAttributedText(UILabel* label, Ref<NSAttributedString> text);

// Sets the mask and remembers the superview's present size, from which
// layOutConstraints() grows or shrinks the flexible sides.
void setAutoresizingMask(UIView* view, unsigned long mask);

// Adds a single-tap recogniser to the view and enables touches on it.
void addTapRecognizer(UIView* view, NSObject* target, SEL action);

// Registers the runtime methods views answer in this host: `tintColor`, `setTintColor:` and
// `tintColorDidChange`, which cells override.
void defineViewExtrasMethods();
