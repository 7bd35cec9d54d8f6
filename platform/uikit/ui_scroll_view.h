#pragma once

#include "platform/uikit/ui_view.h"

// A view that shows part of a larger content area.
class UIScrollView : public UIView {
 public:
  CGSize contentSize() const { return contentSize_; }
  void setContentSize(CGSize size) { contentSize_ = size; }

 private:
  CGSize contentSize_;
};
