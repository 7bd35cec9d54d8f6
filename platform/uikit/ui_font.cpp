#include "platform/uikit/ui_font.h"

Ref<UIFont> UIFont::systemFontOfSize(double size, double weight) {
  auto font = objc::make<UIFont>();
  font->size_ = size;
  font->weight_ = weight;
  return font;
}

Ref<UIFont> UIFont::monospacedDigitSystemFontOfSize(double size, double weight) {
  auto font = systemFontOfSize(size, weight);
  font->monospacedDigits_ = true;
  return font;
}

Ref<UIFont> UIFont::fontWithName(std::string name, double size) {
  auto font = objc::make<UIFont>();
  font->name_ = std::move(name);
  font->size_ = size;
  return font;
}

Ref<NSAttributedString> NSAttributedString::from(std::string text, std::vector<Run> runs) {
  auto string = objc::make<NSAttributedString>();
  string->text_ = std::move(text);
  string->runs_ = std::move(runs);
  return string;
}

void defineFontClasses() {
  objc::defineClass<UIFont, NSObject>("UIFont");
  objc::defineClass<NSAttributedString, NSObject>("NSAttributedString");
}
