#include "platform/uikit/ui_label.h"

UILabel::UILabel() : textColor_(UIColor::labelColor()) {}

void UILabel::setTextColor(Ref<UIColor> color) {
  textColor_ = color ? std::move(color) : UIColor::labelColor();
}

CGSize UILabel::sizeThatFits(CGSize size) const {
  if (!text_) return {0, 0};
  return measureText(text_->string(), font_, size, numberOfLines_);
}

std::string UILabel::descriptionText() const {
  std::string description = UIView::descriptionText();
  std::string text = text_ ? text_->string() : "";
  return description.substr(0, description.size() - 1) + "; text = '" + text + "'>";
}
