#include "apps/vitrel/color_json.h"

#include "source/colors/color_quenby.h"

namespace {

Json rgbaJson(const RGBA& rgba) {
  Ref<NSString> hex = mirraHexStringFromColor(UIColor::colorWithColor(Color(rgba)).get());
  return {{"hex", hex ? hex->string() : ""},
          {"r", rgba.red},
          {"g", rgba.green},
          {"b", rgba.blue},
          {"a", rgba.alpha}};
}

const char* directionName(GradientDirection direction) {
  switch (direction) {
    case GradientDirection::right:
      return "right";
    case GradientDirection::left:
      return "left";
    case GradientDirection::up:
      return "up";
    case GradientDirection::down:
      return "down";
  }
  return "right";
}

}  // namespace

Json colorJson(const std::optional<Color>& color) {
  if (!color) return nullptr;
  if (std::optional<RGBA> rgba = color->rgba()) return rgbaJson(*rgba);
  const GradientPattern* pattern = color->pattern();
  if (!pattern) return nullptr;
  const CGRect& frame = pattern->frame;
  return {{"gradient",
           {{"from", rgbaJson(pattern->from)},
            {"to", rgbaJson(pattern->to)},
            {"direction", directionName(pattern->direction)},
            {"flipY", pattern->flipY},
            {"frame", {frame.origin.x, frame.origin.y, frame.size.width, frame.size.height}}}}};
}

Json colorJson(const UIColor* color) {
  return color ? colorJson(std::optional<Color>(color->color())) : Json(nullptr);
}
