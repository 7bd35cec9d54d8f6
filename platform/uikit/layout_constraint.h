#pragma once

#include <vector>

#include "platform/uikit/ui_view.h"

enum NSLayoutAttribute : long {
  NSLayoutAttributeLeading = 5,
  NSLayoutAttributeTrailing = 6,
  NSLayoutAttributeTop = 3,
  NSLayoutAttributeBottom = 4,
  NSLayoutAttributeWidth = 7,
  NSLayoutAttributeHeight = 8,
  NSLayoutAttributeCenterX = 9,
  NSLayoutAttributeCenterY = 10,
};

// An equality between an attribute of one view and an attribute of another, plus a constant:
// first.attribute = second.attribute + constant. Holds both views weakly: the first view keeps
// its active constraints, and a constraint whose second view has left the tree is ignored.
class NSLayoutConstraint : public NSObject {
 public:
  static Ref<NSLayoutConstraint> constraint(UIView* first, NSLayoutAttribute firstAttribute,
                                            UIView* second, NSLayoutAttribute secondAttribute,
                                            double constant = 0);
  // Makes each constraint active: kept by its first view and applied by layOutConstraints().
  static void activateConstraints(const std::vector<Ref<NSLayoutConstraint>>& constraints);

  UIView* firstItem() const { return first_; }
  UIView* secondItem() const { return second_; }
  NSLayoutAttribute firstAttribute() const { return firstAttribute_; }
  NSLayoutAttribute secondAttribute() const { return secondAttribute_; }
  double constant() const { return constant_; }

 private:
  UIView* first_ = nullptr;
  UIView* second_ = nullptr;
  NSLayoutAttribute firstAttribute_ = NSLayoutAttributeLeading;
  NSLayoutAttribute secondAttribute_ = NSLayoutAttributeLeading;
  double constant_ = 0;
};

// Resizes the flexible sides of autoresizing views (see setAutoresizingMask()) and sets the
// frames of the views under root (root included) that opted into constraints
// (translatesAutoresizingMaskIntoConstraints off) from their active constraints, parents
// before children, then twice lays the tree out (`layoutSubviews` top-down) and settles the
// constraints against the result. An axis a view's constraints leave open keeps its
// current size, or for a label, the size its text needs. Costs a few passes over the tree.
void layOutConstraints(UIView* root);

void defineLayoutConstraintClass();
