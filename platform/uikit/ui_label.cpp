#include "platform/uikit/ui_label.h"

#include <algorithm>
#include <cmath>

namespace {
// The system font's average advance and line height, in ems.
constexpr double kAverageAdvance = 0.55;
constexpr double kLineHeight = 1.2;

// Characters, not bytes: UTF-8 continuation bytes take no room of their own.
size_t characterCount(const std::string& text) {
  return static_cast<size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return (c & 0xC0) != 0x80; }));
}
}  // namespace

UILabel::UILabel() : textColor_(UIColor::labelColor()) {}

void UILabel::setTextColor(Ref<UIColor> color) {
  textColor_ = color ? std::move(color) : UIColor::labelColor();
}

CGSize UILabel::sizeThatFits(CGSize size) const {
  if (!text_ || text_->string().empty()) return {0, 0};
  double advance = kAverageAdvance * fontSize_, lineHeight = std::ceil(kLineHeight * fontSize_);
  double natural = std::ceil(characterCount(text_->string()) * advance);
  double width = size.width > 0 ? std::min(natural, size.width) : natural;
  double lines = width > 0 ? std::ceil(natural / width) : 1;
  if (numberOfLines_ > 0) lines = std::min<double>(lines, numberOfLines_);
  double height = lines * lineHeight;
  if (size.height > 0) height = std::min(height, size.height);
  return {width, height};
}

std::string UILabel::descriptionText() const {
  std::string description = UIView::descriptionText();
  std::string text = text_ ? text_->string() : "";
  return description.substr(0, description.size() - 1) + "; text = '" + text + "'>";
}
