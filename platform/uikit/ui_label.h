#pragma once

#include "platform/foundation/ns_string.h"
#include "platform/uikit/ui_view.h"

enum NSTextAlignment : long {
  NSTextAlignmentLeft = 0,
  NSTextAlignmentCenter = 1,
  NSTextAlignmentRight = 2,
};

// A view that shows text in one font size and colour.
class UILabel : public UIView {
 public:
  UILabel();

  NSString* text() const { return text_.get(); }
  void setText(Ref<NSString> text) { text_ = std::move(text); }
  // The system's label colour until set; nil sets it back.
  const Ref<UIColor>& textColor() const { return textColor_; }
  void setTextColor(Ref<UIColor> color);
  CGFloat fontSize() const { return fontSize_; }
  void setFontSize(CGFloat size) { fontSize_ = size; }
  bool isBold() const { return bold_; }
  void setBold(bool bold) { bold_ = bold; }
  NSTextAlignment textAlignment() const { return alignment_; }
  void setTextAlignment(NSTextAlignment alignment) { alignment_ = alignment; }
  // 0: as many lines as the text needs.
  long numberOfLines() const { return numberOfLines_; }
  void setNumberOfLines(long lines) { numberOfLines_ = lines; }

  // The size the text needs, no larger than size (the text wraps at its width when lines
  // allow), in whole points, measured with the system font's glyphs (see measureText).
  CGSize sizeThatFits(CGSize size) const;

  std::string descriptionText() const;

 private:
  Ref<NSString> text_;
  Ref<UIColor> textColor_;
  CGFloat fontSize_ = 17;
  bool bold_ = false;
  NSTextAlignment alignment_ = NSTextAlignmentLeft;
  long numberOfLines_ = 1;
};
