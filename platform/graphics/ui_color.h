#pragma once

#include <optional>
#include <vector>

#include "platform/foundation/ns_object.h"
#include "platform/graphics/color.h"

// The platform's colour object: an immutable Color. Absent colours are nil Refs. A dynamic
// colour (the system's label colour) has a second value for the dark interface style; color()
// is its light value, resolvedColor() picks by style.
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
  // The system's text colour: black, or white in the dark style.
  static Ref<UIColor> labelColor();
  static Ref<UIColor> dynamicColor(const Color& light, const Color& dark);

  // The colour category's methods the system calls but does not define:
  // A colour written as Display P3 components, "r,g,b" or "r,g,b,a" (decimals, e.g.
  // "0.950000,0.300000,0.200000,1.000000"), converted to extended sRGB (components may leave
  // 0…1 for colours outside sRGB). Nil for text that is not exactly that.
  static Ref<UIColor> colorFromP3String(const NSString* text);
  // A pattern colour that paints a linear gradient from the first to the second colour across
  // frame, in direction "right", "left", "up" or "down" (anything else: "right"); flipY for a
  // frame in a flipped coordinate space, where up and down trade places. Nil unless given two
  // RGB colours.
  static Ref<UIColor> colorFromGradient(const std::vector<Color>& colors, const NSString* direction,
                                        const CGRect& frame);
  static Ref<UIColor> colorFromGradient(const std::vector<Color>& colors, const NSString* direction,
                                        const CGRect& frame, bool flipY);

  const Color& color() const { return color_; }
  const Color& resolvedColor(bool dark) const { return dark && dark_ ? *dark_ : color_; }
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
  std::optional<Color> dark_;
};

// The layer colour value of a colour object, none for nil (what `color.CGColor` gives on nil).
std::optional<Color> cgColorOf(const UIColor* color);
