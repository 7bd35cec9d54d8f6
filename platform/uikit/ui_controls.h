#pragma once

#include <string>
#include <vector>

#include "platform/graphics/ui_image.h"
#include "platform/uikit/ui_label.h"

enum UIControlEvents : unsigned long {
  UIControlEventTouchDragInside = 1 << 2,
  UIControlEventTouchDragOutside = 1 << 3,
  UIControlEventTouchUpInside = 1 << 6,
  UIControlEventValueChanged = 1 << 12,
};

// A view that sends actions to targets when the user works it. Targets are held weakly, as on
// the platform: each is expected to own the control (a cell, a page controller).
class UIControl : public UIView {
 public:
  void addTarget(NSObject* target, SEL action, unsigned long events);
  // Sends each action registered for any of these events: `action:` gets the control as its
  // argument, a selector without a colon gets none.
  void sendActionsForControlEvents(unsigned long events);

  bool isEnabled() const { return enabled_; }
  void setEnabled(bool enabled) { enabled_ = enabled; }

 private:
  struct Action {
    NSObject* target;
    SEL action;
    unsigned long events;
  };
  std::vector<Action> actions_;
  bool enabled_ = true;
};

enum UIButtonType : long {
  UIButtonTypeCustom = 0,
  UIButtonTypeSystem = 1,
  UIButtonTypeInfoDark = 4,
};

// A button with a title label (system and custom buttons) or the information glyph.
class UIButton : public UIControl {
 public:
  static Ref<UIButton> buttonWithType(UIButtonType type);

  UIButtonType buttonType() const { return type_; }
  UILabel* titleLabel() const { return titleLabel_.get(); }
  void setTitle(std::string title);
  // The size the title (or the glyph, 22 points square) needs.
  CGSize intrinsicSize() const;

 private:
  UIButtonType type_ = UIButtonTypeCustom;
  Ref<UILabel> titleLabel_;
};

// A slider over a range; its value always lies within [minimumValue, maximumValue].
class UISlider : public UIControl {
 public:
  float value() const { return value_; }
  // Clamps into the range. Sends no action, as on the platform.
  void setValue(float value, bool animated = false);
  float minimumValue() const { return minimum_; }
  float maximumValue() const { return maximum_; }
  // Keeps minimum ≤ maximum and the value inside.
  void setRange(float minimum, float maximum);
  bool isContinuous() const { return continuous_; }
  void setContinuous(bool continuous) { continuous_ = continuous; }
  const Ref<UIColor>& minimumTrackTintColor() const { return minimumTrackTint_; }
  void setMinimumTrackTintColor(Ref<UIColor> color) { minimumTrackTint_ = std::move(color); }

 private:
  float value_ = 0, minimum_ = 0, maximum_ = 1;
  bool continuous_ = true;
  Ref<UIColor> minimumTrackTint_;
};

class UISwitch : public UIControl {
 public:
  bool isOn() const { return on_; }
  void setOn(bool on) { on_ = on; }
  const Ref<UIColor>& onTintColor() const { return onTint_; }
  void setOnTintColor(Ref<UIColor> color) { onTint_ = std::move(color); }
  const Ref<UIColor>& thumbTintColor() const { return thumbTint_; }
  void setThumbTintColor(Ref<UIColor> color) { thumbTint_ = std::move(color); }

 private:
  bool on_ = false;
  Ref<UIColor> onTint_;
  Ref<UIColor> thumbTint_;
};

// Segments each showing a title or an image; at most one is selected.
class UISegmentedControl : public UIControl {
 public:
  static constexpr long noSegment = -1;
  struct Segment {
    Ref<NSString> title;
    Ref<UIImage> image;
  };

  const std::vector<Segment>& segments() const { return segments_; }
  void setTitles(const std::vector<Ref<NSString>>& titles);
  // An image replaces the segment's title; out-of-range indexes are ignored.
  void setImage(Ref<UIImage> image, size_t index);
  long selectedSegmentIndex() const { return selected_; }
  // noSegment, or an index in range; anything else selects nothing.
  void setSelectedSegmentIndex(long index);

 private:
  std::vector<Segment> segments_;
  long selected_ = noSegment;
};

enum UIKeyboardType : long {
  UIKeyboardTypeDefault = 0,
  UIKeyboardTypeDecimalPad = 8,
};

// A one-line text entry.
class UITextField : public UIView {
 public:
  NSString* text() const { return text_.get(); }
  void setText(Ref<NSString> text) { text_ = std::move(text); }
  const Ref<UIColor>& textColor() const { return textColor_; }
  void setTextColor(Ref<UIColor> color) { textColor_ = std::move(color); }
  UIKeyboardType keyboardType() const { return keyboard_; }
  void setKeyboardType(UIKeyboardType type) { keyboard_ = type; }
  NSString* placeholder() const { return placeholder_.get(); }
  void setPlaceholder(Ref<NSString> text) { placeholder_ = std::move(text); }

 private:
  Ref<NSString> text_;
  Ref<UIColor> textColor_;
  UIKeyboardType keyboard_ = UIKeyboardTypeDefault;
  Ref<NSString> placeholder_;
};

void defineControlClasses();
