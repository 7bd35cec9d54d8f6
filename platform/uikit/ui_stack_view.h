#pragma once

#include <vector>

#include "platform/uikit/ui_view.h"

enum UILayoutConstraintAxis : long {
  UILayoutConstraintAxisHorizontal = 0,
  UILayoutConstraintAxisVertical = 1,
};

enum UIStackViewDistribution : long {
  UIStackViewDistributionFill = 0,
  UIStackViewDistributionFillEqually = 1,
  UIStackViewDistributionFillProportionally = 2,
  UIStackViewDistributionEqualSpacing = 3,
  UIStackViewDistributionEqualCentering = 4,
};

enum UIStackViewAlignment : long {
  UIStackViewAlignmentFill = 0,
  UIStackViewAlignmentLeading = 1,
  UIStackViewAlignmentTop = 1,
  UIStackViewAlignmentCenter = 3,
  UIStackViewAlignmentTrailing = 4,
  UIStackViewAlignmentBottom = 4,
};

// A length a view has no natural value for (UIViewNoIntrinsicMetric).
inline constexpr CGFloat UIViewNoIntrinsicMetric = -1;

// The size a view's content asks for, through its runtime `intrinsicContentSize`; a side it
// does not ask for (or a view without the method) is UIViewNoIntrinsicMetric.
CGSize intrinsicContentSizeOf(UIView* view);

// A view that lays out its shown arranged subviews in a row or a column, as UIKit defines:
//
// Along the axis (distribution), between the stack's two ends:
// - fill: each view its intrinsic length; space left over goes to the first view that has no
//   intrinsic length, else to the first view; a shortfall is taken from the first views on
//   (none below zero). Views made in code hug and resist alike, so the order decides.
// - fill equally: equal lengths.
// - fill proportionally: lengths in proportion to the intrinsic ones (fill when none has one).
// - equal spacing: intrinsic lengths with equal gaps, at least `spacing`; fill when they do
//   not fit.
// - equal centring: intrinsic lengths with equally spaced centres, the first view at the
//   start and the last at the end; equal spacing when a gap would be under `spacing`.
// A single view always spans the whole length.
//
// Across the axis (alignment): fill spans the breadth; leading (top), centre and trailing
// (bottom) give each view its intrinsic breadth (or, without one, its present breadth), no
// more than the stack's, at that side.
class UIStackView : public UIView {
 public:
  const std::vector<Ref<UIView>>& arrangedSubviews() const { return arranged_; }
  void addArrangedSubview(Ref<UIView> view);
  UILayoutConstraintAxis axis() const { return axis_; }
  void setAxis(UILayoutConstraintAxis axis) { axis_ = axis; }
  UIStackViewDistribution distribution() const { return distribution_; }
  void setDistribution(UIStackViewDistribution distribution) { distribution_ = distribution; }
  UIStackViewAlignment alignment() const { return alignment_; }
  void setAlignment(UIStackViewAlignment alignment) { alignment_ = alignment; }
  CGFloat spacing() const { return spacing_; }
  void setSpacing(CGFloat spacing) { spacing_ = spacing; }

  // The host's layout of the arranged subviews, run by `layoutSubviews`.
  void layOutArrangedSubviews();
  // Where a view `breadth` across the axis starts under the stack's alignment, from the
  // stack's own edge; layout solvers place a view of a fixed breadth with it.
  CGFloat offsetAcross(CGFloat breadth) const;
  // Lengths add up along the axis with the spacing; the breadth is the largest. A side that
  // some shown view has no intrinsic value for is UIViewNoIntrinsicMetric.
  CGSize intrinsicContentSize() const;

 private:
  std::vector<UIView*> shownArrangedSubviews() const;

  std::vector<Ref<UIView>> arranged_;
  UILayoutConstraintAxis axis_ = UILayoutConstraintAxisHorizontal;
  UIStackViewDistribution distribution_ = UIStackViewDistributionFill;
  UIStackViewAlignment alignment_ = UIStackViewAlignmentFill;
  CGFloat spacing_ = 0;
};

void defineStackViewClass();
