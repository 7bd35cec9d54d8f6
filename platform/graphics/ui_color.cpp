#include "platform/graphics/ui_color.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "platform/foundation/ns_string.h"

Ref<UIColor> UIColor::colorWithColor(const Color& color) {
  auto object = objc::make<UIColor>();
  object->color_ = color;
  return object;
}

Ref<UIColor> UIColor::colorWithRed(double red, double green, double blue, double alpha) {
  return colorWithColor(Color::rgb(red, green, blue, alpha));
}

Ref<UIColor> UIColor::colorWithHue(double hue, double saturation, double brightness, double alpha) {
  return colorWithColor(Color::hsb({hue, saturation, brightness, alpha}));
}

Ref<UIColor> UIColor::colorWithWhite(double white, double alpha) {
  return colorWithRed(white, white, white, alpha);
}

Ref<UIColor> UIColor::systemRedColor() {
  return colorWithRed(1, 0, 0, 1);
}
Ref<UIColor> UIColor::blackColor() {
  return colorWithRed(0, 0, 0, 1);
}
Ref<UIColor> UIColor::whiteColor() {
  return colorWithRed(1, 1, 1, 1);
}
Ref<UIColor> UIColor::clearColor() {
  return colorWithRed(0, 0, 0, 0);
}

bool UIColor::getHue(double* hue, double* saturation, double* brightness, double* alpha) const {
  auto hsba = color_.hsba();
  if (!hsba) return false;
  if (hue) *hue = hsba->hue;
  if (saturation) *saturation = hsba->saturation;
  if (brightness) *brightness = hsba->brightness;
  if (alpha) *alpha = hsba->alpha;
  return true;
}

bool UIColor::getRed(double* red, double* green, double* blue, double* alpha) const {
  auto rgba = color_.rgba();
  if (!rgba) return false;
  if (red) *red = rgba->red;
  if (green) *green = rgba->green;
  if (blue) *blue = rgba->blue;
  if (alpha) *alpha = rgba->alpha;
  return true;
}

Ref<UIColor> UIColor::labelColor() {
  return dynamicColor(Color::rgb(0, 0, 0), Color::rgb(1, 1, 1));
}

Ref<UIColor> UIColor::dynamicColor(const Color& light, const Color& dark) {
  auto color = colorWithColor(light);
  color->dark_ = dark;
  return color;
}

Ref<UIColor> UIColor::colorWithAlphaComponent(double alpha) const {
  auto color = colorWithColor(color_.withAlpha(alpha));
  if (dark_) color->dark_ = dark_->withAlpha(alpha);
  return color;
}

Ref<UIColor> UIColor::colorFromP3String(const NSString* text) {
  if (!text) return nullptr;
  std::vector<std::string> parts = text->componentsSeparatedByString(",");
  if (parts.size() < 3 || parts.size() > 4) return nullptr;
  double values[4] = {0, 0, 0, 1};
  for (size_t i = 0; i < parts.size(); ++i) {
    std::string_view part = parts[i];
    while (!part.empty() && std::isspace(static_cast<unsigned char>(part.front()))) {
      part.remove_prefix(1);
    }
    while (!part.empty() && std::isspace(static_cast<unsigned char>(part.back()))) {
      part.remove_suffix(1);
    }
    auto [end, error] = std::from_chars(part.data(), part.data() + part.size(), values[i]);
    if (part.empty() || error != std::errc() || end != part.data() + part.size() ||
        !std::isfinite(values[i])) {
      return nullptr;
    }
  }
  return colorWithColor(Color::fromDisplayP3({values[0], values[1], values[2], values[3]}));
}

Ref<UIColor> UIColor::colorFromGradient(const std::vector<Color>& colors, const NSString* direction,
                                        const CGRect& frame) {
  return colorFromGradient(colors, direction, frame, false);
}

Ref<UIColor> UIColor::colorFromGradient(const std::vector<Color>& colors, const NSString* direction,
                                        const CGRect& frame, bool flipY) {
  if (colors.size() != 2 || !colors[0].rgba() || !colors[1].rgba()) return nullptr;
  std::string name = direction ? direction->string() : "";
  GradientDirection way = name == "left"   ? GradientDirection::left
                          : name == "up"   ? GradientDirection::up
                          : name == "down" ? GradientDirection::down
                                           : GradientDirection::right;
  return colorWithColor(Color::gradient({*colors[0].rgba(), *colors[1].rgba(), way, frame, flipY}));
}

std::string UIColor::descriptionText() const {
  auto rgba = color_.rgba();
  if (!rgba) return "UIPatternColor (gradient)";
  char text[128];
  std::snprintf(text, sizeof text, "UIExtendedSRGBColorSpace %g %g %g %g", rgba->red, rgba->green,
                rgba->blue, rgba->alpha);
  return text;
}

std::optional<Color> cgColorOf(const UIColor* color) {
  if (!color) return std::nullopt;
  return color->CGColor();
}
