#include "platform/graphics/color.h"

#include <algorithm>
#include <cmath>

Color Color::gradient(GradientPattern pattern) {
  Color color;
  color.value_ = std::make_shared<const GradientPattern>(pattern);
  return color;
}

Color Color::hsb(HSBA hsba) {
  double h = (hsba.hue - std::floor(hsba.hue)) * 6, s = std::clamp(hsba.saturation, 0.0, 1.0);
  double v = std::clamp(hsba.brightness, 0.0, 1.0);
  int sector = static_cast<int>(h) % 6;
  double f = h - std::floor(h);
  double p = v * (1 - s), q = v * (1 - s * f), t = v * (1 - s * (1 - f));
  switch (sector) {
    case 0:
      return rgb(v, t, p, hsba.alpha);
    case 1:
      return rgb(q, v, p, hsba.alpha);
    case 2:
      return rgb(p, v, t, hsba.alpha);
    case 3:
      return rgb(p, q, v, hsba.alpha);
    case 4:
      return rgb(t, p, v, hsba.alpha);
    default:
      return rgb(v, p, q, hsba.alpha);
  }
}

namespace {

// The sRGB curve, extended to negative values by symmetry.
double toLinear(double encoded) {
  double magnitude = std::fabs(encoded);
  double linear =
      magnitude <= 0.04045 ? magnitude / 12.92 : std::pow((magnitude + 0.055) / 1.055, 2.4);
  return std::copysign(linear, encoded);
}

double toEncoded(double linear) {
  double magnitude = std::fabs(linear);
  double encoded =
      magnitude <= 0.0031308 ? magnitude * 12.92 : 1.055 * std::pow(magnitude, 1 / 2.4) - 0.055;
  return std::copysign(encoded, linear);
}

}  // namespace

Color Color::fromDisplayP3(RGBA p3) {
  double r = toLinear(p3.red), g = toLinear(p3.green), b = toLinear(p3.blue);
  // Display P3 to sRGB in linear light (both D65).
  double sr = 1.2249401 * r - 0.2249404 * g;
  double sg = -0.0420569 * r + 1.0420571 * g;
  double sb = -0.0196376 * r - 0.0786361 * g + 1.0982735 * b;
  return rgb(toEncoded(sr), toEncoded(sg), toEncoded(sb), p3.alpha);
}

std::optional<RGBA> Color::rgba() const {
  if (const auto* value = std::get_if<RGBA>(&value_)) return *value;
  return std::nullopt;
}

std::optional<HSBA> Color::hsba() const {
  auto value = rgba();
  if (!value) return std::nullopt;
  double largest = std::max({value->red, value->green, value->blue});
  double smallest = std::min({value->red, value->green, value->blue});
  double range = largest - smallest;
  HSBA result{0, largest > 0 ? range / largest : 0, largest, value->alpha};
  if (range > 0) {
    double hue;
    if (largest == value->red) {
      hue = (value->green - value->blue) / range;
    } else if (largest == value->green) {
      hue = 2 + (value->blue - value->red) / range;
    } else {
      hue = 4 + (value->red - value->green) / range;
    }
    hue /= 6;
    result.hue = hue < 0 ? hue + 1 : hue;
  }
  return result;
}

const GradientPattern* Color::pattern() const {
  const auto* pattern = std::get_if<std::shared_ptr<const GradientPattern>>(&value_);
  return pattern ? pattern->get() : nullptr;
}

double Color::alpha() const {
  auto value = rgba();
  return value ? value->alpha : 1.0;
}

Color Color::withAlpha(double alpha) const {
  auto value = rgba();
  if (!value) return *this;
  value->alpha = alpha;
  return Color(*value);
}

bool operator==(const Color& a, const Color& b) {
  if (a.isPattern() != b.isPattern()) return false;
  return a.isPattern() ? *a.pattern() == *b.pattern() : a.rgba() == b.rgba();
}
