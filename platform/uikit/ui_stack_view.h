#pragma once

#include <vector>

#include "platform/uikit/ui_view.h"

enum UILayoutConstraintAxis : long {
  UILayoutConstraintAxisHorizontal = 0,
  UILayoutConstraintAxisVertical = 1,
};

// A view that lays out its arranged subviews in a row or a column, each getting an equal share
// of the length along the axis (minus the spacing) and the full breadth across it.
class UIStackView : public UIView {
 public:
  const std::vector<Ref<UIView>>& arrangedSubviews() const { return arranged_; }
  void addArrangedSubview(Ref<UIView> view);
  UILayoutConstraintAxis axis() const { return axis_; }
  void setAxis(UILayoutConstraintAxis axis) { axis_ = axis; }
  CGFloat spacing() const { return spacing_; }
  void setSpacing(CGFloat spacing) { spacing_ = spacing; }

  // The host's layout of the arranged subviews, run by `layoutSubviews`.
  void layOutArrangedSubviews();

 private:
  std::vector<Ref<UIView>> arranged_;
  UILayoutConstraintAxis axis_ = UILayoutConstraintAxisVertical;
  CGFloat spacing_ = 0;
};

void defineStackViewClass();
