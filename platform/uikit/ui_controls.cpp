#include "platform/uikit/ui_controls.h"

#include <algorithm>

#include "platform/uikit/ui_stack_view.h"

void UIControl::addTarget(NSObject* target, SEL action, unsigned long events) {
  if (target && action) actions_.push_back({target, action, events});
}

void UIControl::sendActionsForControlEvents(unsigned long events) {
  Ref<UIControl> keepAlive(this);
  // Copied: an action may add or remove targets.
  std::vector<Action> actions = actions_;
  for (const Action& action : actions) {
    if (!(action.events & events)) continue;
    if (std::string_view(sel_getName(action.action)).ends_with(':')) {
      objc::msgSend<void>(action.target, action.action, static_cast<NSObject*>(this));
    } else {
      objc::msgSend<void>(action.target, action.action);
    }
  }
}

Ref<UIButton> UIButton::buttonWithType(UIButtonType type) {
  auto button = objc::make<UIButton>();
  button->type_ = type;
  button->titleLabel_ = objc::make<UILabel>();
  button->titleLabel_->setTextAlignment(NSTextAlignmentCenter);
  button->addSubview(button->titleLabel_);
  return button;
}

void UIButton::setTitle(std::string title) {
  titleLabel_->setText(NSString::from(std::move(title)));
  CGSize size = intrinsicSize();
  titleLabel_->setFrame(CGRectMake(0, 0, size.width, size.height));
  setFrame(CGRectMake(frame().origin.x, frame().origin.y, size.width, size.height));
}

CGSize UIButton::intrinsicSize() const {
  if (type_ == UIButtonTypeInfoDark) return {22, 22};
  CGSize text = titleLabel_->sizeThatFits({1e6, 1e6});
  return {text.width, std::max(text.height, 30.0)};
}

void UISlider::setValue(float value, bool) {
  value_ = std::clamp(value, minimum_, maximum_);
}

void UISlider::setRange(float minimum, float maximum) {
  minimum_ = std::min(minimum, maximum);
  maximum_ = std::max(minimum, maximum);
  setValue(value_);
}

void UISegmentedControl::setTitles(const std::vector<Ref<NSString>>& titles) {
  segments_.clear();
  for (const Ref<NSString>& title : titles)
    segments_.push_back({title, nullptr});
  if (selected_ >= static_cast<long>(segments_.size())) selected_ = noSegment;
}

void UISegmentedControl::setImage(Ref<UIImage> image, size_t index) {
  if (index < segments_.size()) segments_[index].image = std::move(image);
}

void UISegmentedControl::setSelectedSegmentIndex(long index) {
  selected_ = index >= 0 && index < static_cast<long>(segments_.size()) ? index : noSegment;
}

void defineControlClasses() {
  objc::Class* control = objc::defineClass<UIControl, UIView>("UIControl");
  objc::addMethod(objc::defineClass<UIButton, UIControl>("UIButton"), "intrinsicContentSize",
                  [](UIButton* self, SEL) { return self->intrinsicSize(); });
  // A slider is as long as its place gives it; a switch has one size.
  objc::addMethod(objc::defineClass<UISlider, UIControl>("UISlider"), "intrinsicContentSize",
                  [](UISlider*, SEL) {
                    return CGSize{UIViewNoIntrinsicMetric, 31};
                  });
  objc::addMethod(objc::defineClass<UISwitch, UIControl>("UISwitch"), "intrinsicContentSize",
                  [](UISwitch*, SEL) {
                    return CGSize{51, 31};
                  });
  objc::defineClass<UISegmentedControl, UIControl>("UISegmentedControl");
  objc::defineClass<UITextField, UIView>("UITextField");
  objc::addMethod(control,
                  "sendActionsForControlEvents:", [](UIControl* self, SEL, unsigned long events) {
                    self->sendActionsForControlEvents(events);
                  });
}
