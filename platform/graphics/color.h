#pragma once

#include <memory>
#include <optional>
#include <string>
#include <variant>

#include "platform/graphics/geometry.h"

// Components in 0..1.
struct RGBA {
  double red = 0, green = 0, blue = 0, alpha = 1;
  friend constexpr bool operator==(const RGBA&, const RGBA&) = default;
};

// Hue, saturation and brightness in 0..1, the platform's HSB model: brightness is the largest
// component, saturation (largest − smallest) / largest (0 for black).
struct HSBA {
  double hue = 0, saturation = 0, brightness = 0, alpha = 1;
  friend constexpr bool operator==(const HSBA&, const HSBA&) = default;
};

enum class GradientDirection { right, left, up, down };

// A linear gradient between two stops across a frame: a pattern, not a single colour.
struct GradientPattern {
  RGBA from, to;
  GradientDirection direction = GradientDirection::right;
  CGRect frame;
  bool flipY = false;
  friend bool operator==(const GradientPattern&, const GradientPattern&) = default;
};

// A colour value: plain RGB with alpha, or a pattern that paints more than one colour (and so
// has no single RGB or HSB value). This is what layers hold (the platform's CGColor).
class Color {
 public:
  constexpr Color() = default;
  constexpr explicit Color(RGBA rgba) : value_(rgba) {}
  static constexpr Color rgb(double red, double green, double blue, double alpha = 1) {
    return Color(RGBA{red, green, blue, alpha});
  }
  static Color gradient(GradientPattern pattern);
  // From hue, saturation and brightness.
  static Color hsb(HSBA hsba);
  // From Display P3 components to extended sRGB: the same transfer curve, the wider
  // primaries mapped through linear light, so saturated P3 colours leave 0…1.
  static Color fromDisplayP3(RGBA p3);

  bool isPattern() const { return !std::holds_alternative<RGBA>(value_); }
  // The RGB value, or none for a pattern.
  std::optional<RGBA> rgba() const;
  // The HSB split, or none for a pattern (the platform's getHue:… fails for those).
  std::optional<HSBA> hsba() const;
  const GradientPattern* pattern() const;
  // The alpha of an RGB colour; 1 for a pattern.
  double alpha() const;
  // The same colour with another alpha; a pattern keeps its stops' own alpha.
  Color withAlpha(double alpha) const;

  friend bool operator==(const Color& a, const Color& b);

 private:
  std::variant<RGBA, std::shared_ptr<const GradientPattern>> value_;
};
