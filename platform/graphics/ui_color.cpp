#include "platform/graphics/ui_color.h"

#include <cstdio>

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

Ref<UIColor> UIColor::colorWithAlphaComponent(double alpha) const {
  return colorWithColor(color_.withAlpha(alpha));
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
