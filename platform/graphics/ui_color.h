#pragma once

#include <optional>

#include "platform/foundation/ns_object.h"
#include "platform/graphics/color.h"

// The platform's colour object: an immutable Color. Absent colours are nil Refs.
class UIColor : public NSObject {
 public:
  static Ref<UIColor> colorWithColor(const Color& color);
  static Ref<UIColor> colorWithRed(double red, double green, double blue, double alpha);
  static Ref<UIColor> colorWithHue(double hue, double saturation, double brightness, double alpha);
  static Ref<UIColor> colorWithWhite(double white, double alpha);
  static Ref<UIColor> systemRedColor();  // (1, 0, 0, 1)
  static Ref<UIColor> blackColor();
  static Ref<UIColor> whiteColor();
  static Ref<UIColor> clearColor();

  const Color& color() const { return color_; }
  // The layer colour value.
  const Color& CGColor() const { return color_; }
  // The platform's HSB split; false (outputs untouched) for a pattern colour. Any output may
  // be null.
  bool getHue(double* hue, double* saturation, double* brightness, double* alpha) const;
  bool getRed(double* red, double* green, double* blue, double* alpha) const;
  Ref<UIColor> colorWithAlphaComponent(double alpha) const;

  // "UIExtendedSRGBColorSpace 1 0.5 0 1", as the platform describes colours.
  std::string descriptionText() const;

 private:
  Color color_;
};

// The layer colour value of a colour object, none for nil (what `color.CGColor` gives on nil).
std::optional<Color> cgColorOf(const UIColor* color);
