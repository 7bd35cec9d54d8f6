#include "source/colorizer/tavrel2_colorizer.h"

#include "platform/foundation/value_conversion.h"
#include "source/colors/palette_cube.h"

Tavrel2Colorizer Tavrel2Colorizer::initWithIdentifier(Ref<NSString> identifier) {
  Tavrel2Colorizer colorizer;
  colorizer.identifier_ = std::move(identifier);
  colorizer.manager_ = Tavrel2PrefsManager::sharedInstance();
  return colorizer;
}

Ref<UIColor> Tavrel2Colorizer::iconColor() {
  if (!iconColor_) {
    PCPaletteCube cube;
    auto colors = cube.extractColorsFromImage(appIcon_.get(), PCFlagBrightOnly | PCFlagAvoidWhite,
                                              uint64_t{1});
    iconColor_ = colors.empty() ? nullptr : colors.front();
  }
  return iconColor_;
}

Ref<NSObject> Tavrel2Colorizer::setting(std::string_view key) const {
  return manager_ ? manager_->settingForKey(key, identifier_.get()) : nullptr;
}

std::string Tavrel2Colorizer::stringSetting(std::string_view key) const {
  Ref<NSObject> value = setting(key);
  auto* string = dynamic_cast<NSString*>(value.get());
  return string ? string->string() : "";
}

Ref<UIColor> Tavrel2Colorizer::chosenColor(std::string_view part, const CGRect& frame, bool flipY) {
  std::string prefix(part);
  if (!manager_ || !boolValueOf(setting(prefix + "Enabled").get())) return nullptr;
  std::string type = stringSetting(prefix + "Type");
  if (type == "color") return manager_->colorForKey(prefix + "Color", identifier_.get());
  if (type == "gradient" && part != "shadow") {
    std::vector<Color> stops;
    for (const char* stop : {"Gradient1", "Gradient2"}) {
      Ref<UIColor> color = manager_->colorForKey(prefix + stop, identifier_.get());
      if (!color) return nullptr;
      stops.push_back(color->CGColor());
    }
    Ref<NSObject> direction = setting(prefix + "GradientDirection");
    return UIColor::colorFromGradient(stops, dynamic_cast<NSString*>(direction.get()), frame,
                                      flipY);
  }
  if (type == "icon") {
    Ref<UIColor> icon = iconColor();
    if (!icon) return nullptr;
    return icon->colorWithAlphaComponent(
        manager_->alphaValueForKey(prefix + "IconAlpha", identifier_.get()));
  }
  return nullptr;
}
