#pragma once

#include "platform/foundation/ns_string.h"
#include "platform/uikit/rendering/text_metrics.h"
#include "platform/uikit/ui_view.h"

enum NSTextAlignment : long {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentCenter = 1,
  NSTextAlignmentRight = 2,
};

// A view that shows text in one font and colour.
class UILabel : public UIView {
 public:
  UILabel();

  NSString* text() const { return text_.get(); }
  void setText(Ref<NSString> text) { text_ = std::move(text); }
  // The system's label colour until set; nil sets it back.
  const Ref<UIColor>& textColor() const { return textColor_; }
  void setTextColor(Ref<UIColor> color);
  const TextFont& textFont() const { return font_; }
  void setTextFont(const TextFont& font) { font_ = font; }
  CGFloat fontSize() const { return font_.size; }
  void setFontSize(CGFloat size) { font_.size = size; }
  NSTextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
  // 0: as many lines as the text needs.
  long numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(long lines) { numberOfLines_ = lines; }

  // The size the text needs, no larger than size (the text wraps at its width when lines
  // allow), in whole points, as measureText measures it.
  CGSize sizeThatFits(CGSize size) const;

  std::string descriptionText() const;

 private:
  Ref<NSString> text_;
  Ref<UIColor> textColor_;
  TextFont font_;
  NSTextAlignment alignment_ = NSTextAlignmentLeft;
  long numberOfLines_ = 1;
};
