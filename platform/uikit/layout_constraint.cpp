#include "platform/uikit/layout_constraint.h"

#include <optional>
#include <unordered_set>

#include "platform/uikit/ui_stack_view.h"
#include "platform/uikit/view_extras.h"

namespace {

// One axis of a view's frame being solved: its start, end, length and centre, each known or
// not, in the superview's coordinates.
struct Axis {
  std::optional<double> start, end, length, centre;

  // Fills in what follows from any two known values; the length falls back to `natural`, the
  // start to `current` (where a stack view or the view itself put it).
  std::pair<double, double> resolve(double natural, double current) const {
    double size = length.value_or(natural);
    if (start && end && !length) size = *end - *start;
    if (start) return {*start, size};
    if (end) return {*end - size, size};
    if (centre) return {*centre - size / 2, size};
    return {current, size};
  }
};

bool isHorizontal(NSLayoutAttribute attribute) {
  return attribute == NSLayoutAttributeLeading || attribute == NSLayoutAttributeTrailing ||
         attribute == NSLayoutAttributeWidth || attribute == NSLayoutAttributeCenterX;
}

// The view's frame in root's coordinates (no view here scrolls its bounds).
CGRect frameInWindow(const UIView* view) {
  CGRect frame = view->frame();
  for (const UIView* at = view->superview(); at; at = at->superview()) {
    frame.origin.x += at->frame().origin.x;
    frame.origin.y += at->frame().origin.y;
  }
  return frame;
}

// The attribute's value for view, in the coordinates of `space` (the superview of the view
// being solved). A superview is measured by its bounds.
double valueOf(const UIView* view, NSLayoutAttribute attribute, const UIView* space) {
  CGRect frame = frameInWindow(view);
  CGRect origin = space ? frameInWindow(space) : CGRectZero;
  if (view == space) frame.origin = {origin.origin.x, origin.origin.y};
  double x = frame.origin.x - origin.origin.x, y = frame.origin.y - origin.origin.y;
  switch (attribute) {
    case NSLayoutAttributeLeading:
      return x;
    case NSLayoutAttributeTrailing:
      return x + frame.width();
    case NSLayoutAttributeTop:
      return y;
    case NSLayoutAttributeBottom:
      return y + frame.height();
    case NSLayoutAttributeWidth:
      return frame.width();
    case NSLayoutAttributeHeight:
      return frame.height();
    case NSLayoutAttributeCenterX:
      return x + frame.width() / 2;
    case NSLayoutAttributeCenterY:
      return y + frame.height() / 2;
  }
  return 0;
}

void assign(Axis& axis, NSLayoutAttribute attribute, double value) {
  switch (attribute) {
    case NSLayoutAttributeLeading:
    case NSLayoutAttributeTop:
      axis.start = value;
      break;
    case NSLayoutAttributeTrailing:
    case NSLayoutAttributeBottom:
      axis.end = value;
      break;
    case NSLayoutAttributeWidth:
    case NSLayoutAttributeHeight:
      axis.length = value;
      break;
    case NSLayoutAttributeCenterX:
    case NSLayoutAttributeCenterY:
      axis.centre = value;
      break;
  }
}

CGSize naturalSize(UIView* view) {
  if (auto* label = dynamic_cast<UILabel*>(view)) return label->sizeThatFits({1e6, 1e6});
  return view->frame().size;
}

void collect(UIView* view, std::unordered_set<const UIView*>& live) {
  live.insert(view);
  for (const Ref<UIView>& subview : view->subviews())
    collect(subview.get(), live);
}

// Grows the flexible sides of a view by how much its superview grew since the mask was set.
void autoresize(UIView* view) {
  auto* extras = const_cast<ViewExtras*>(existingExtrasOf(view));
  if (!extras || !extras->autoresizingMask || !view->superview()) return;
  CGSize now = view->superview()->bounds().size;
  CGSize before = extras->autoresizingReference.value_or(now);
  CGRect frame = view->frame();
  if (extras->autoresizingMask & UIViewAutoresizingFlexibleWidth) {
    frame.size.width += now.width - before.width;
  }
  if (extras->autoresizingMask & UIViewAutoresizingFlexibleHeight) {
    frame.size.height += now.height - before.height;
  }
  view->setFrame(frame);
  extras->autoresizingReference = now;
}

// An arranged view whose constraints fix only its breadth sits across its stack where the
// stack's alignment puts a view of that breadth, as the stack's own constraints would place it.
void placeAcrossStack(UIView* view, Axis& horizontal, Axis& vertical) {
  auto* stack = dynamic_cast<UIStackView*>(view->superview());
  if (!stack) return;
  Axis& across = stack->axis() == UILayoutConstraintAxisVertical ? horizontal : vertical;
  if (across.length && !across.start && !across.end && !across.centre) {
    across.start = stack->offsetAcross(*across.length);
  }
}

void solve(UIView* view, const std::unordered_set<const UIView*>& live) {
  autoresize(view);
  const ViewExtras* extras = existingExtrasOf(view);
  if (extras && !extras->translatesAutoresizingMaskIntoConstraints &&
      !extras->constraints.empty()) {
    Axis horizontal, vertical;
    for (const Ref<NSLayoutConstraint>& constraint : extras->constraints) {
      const UIView* second = constraint->secondItem();
      if (!second || !live.contains(second)) continue;
      double value = valueOf(second, constraint->secondAttribute(), view->superview()) +
                     constraint->constant();
      NSLayoutAttribute attribute = constraint->firstAttribute();
      assign(isHorizontal(attribute) ? horizontal : vertical, attribute, value);
    }
    placeAcrossStack(view, horizontal, vertical);
    CGSize natural = naturalSize(view);
    auto [x, width] = horizontal.resolve(natural.width, view->frame().origin.x);
    auto [y, height] = vertical.resolve(natural.height, view->frame().origin.y);
    view->setFrame(CGRectMake(x, y, width, height));
  }
  for (const Ref<UIView>& subview : view->subviews())
    solve(subview.get(), live);
}

}  // namespace

Ref<NSLayoutConstraint> NSLayoutConstraint::constraint(UIView* first,
                                                       NSLayoutAttribute firstAttribute,
                                                       UIView* second,
                                                       NSLayoutAttribute secondAttribute,
                                                       double constant) {
  auto constraint = objc::make<NSLayoutConstraint>();
  constraint->first_ = first;
  constraint->second_ = second;
  constraint->firstAttribute_ = firstAttribute;
  constraint->secondAttribute_ = secondAttribute;
  constraint->constant_ = constant;
  return constraint;
}

void NSLayoutConstraint::activateConstraints(
    const std::vector<Ref<NSLayoutConstraint>>& constraints) {
  for (const Ref<NSLayoutConstraint>& constraint : constraints) {
    if (constraint && constraint->first_) {
      extrasOf(constraint->first_).constraints.push_back(constraint);
    }
  }
}

void layOutConstraints(UIView* root) {
  if (!root) return;
  std::unordered_set<const UIView*> live;
  collect(root, live);
  solve(root, live);
  // A view's own layout may resize what constraints hang on (a cell its content view), and
  // a stack view lays out from its size: a second pass lets both settle.
  for (int pass = 0; pass < 2; ++pass) {
    root->layoutIfNeeded();
    solve(root, live);
  }
}

void defineLayoutConstraintClass() {
  objc::defineClass<NSLayoutConstraint, NSObject>("NSLayoutConstraint");
}
