#include "platform/uikit/ui_stack_view.h"

void UIStackView::addArrangedSubview(Ref<UIView> view) {
  if (!view) return;
  arranged_.push_back(view);
  addSubview(std::move(view));
}

void UIStackView::layOutArrangedSubviews() {
  std::vector<UIView*> shown;
  for (const auto& view : arranged_) {
    if (!view->isHidden() && view->superview() == this) shown.push_back(view.get());
  }
  if (shown.empty()) return;
  const CGRect bounds = this->bounds();
  const bool vertical = axis_ == UILayoutConstraintAxisVertical;
  const double length = vertical ? bounds.height() : bounds.width();
  const double share = (length - spacing_ * (shown.size() - 1)) / shown.size();
  double at = 0;
  for (UIView* view : shown) {
    view->setFrame(vertical ? CGRectMake(0, at, bounds.width(), share)
                            : CGRectMake(at, 0, share, bounds.height()));
    at += share + spacing_;
  }
}

void defineStackViewClass() {
  objc::Class* stack = objc::defineClass<UIStackView, UIView>("UIStackView");
  objc::addMethod(stack, "layoutSubviews",
                  [](UIStackView* self, SEL) { self->layOutArrangedSubviews(); });
  objc::addMethod(stack, "arrangedSubviews", [](UIStackView* self, SEL) {
    return NSArray::from(
        NSArray::Objects(self->arrangedSubviews().begin(), self->arrangedSubviews().end()));
  });
}
