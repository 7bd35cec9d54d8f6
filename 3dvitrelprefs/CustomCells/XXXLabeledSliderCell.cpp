#include <algorithm>
#include <cstdio>

#include "custom_cells.h"
#include "platform/foundation/ns_bundle.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/value_conversion.h"
#include "platform/uikit/layout_constraint.h"
#include "platform/uikit/system_colors.h"
#include "platform/uikit/view_extras.h"

namespace {

std::string formatted(const char* format, float value) {
  char text[64];
  std::snprintf(text, sizeof text, format, static_cast<double>(value));
  return text;
}

std::string caption(PSSpecifier* specifier) {
  Ref<NSString> label = specifier->properties()->objectForKey<NSString>("label");
  if (!label) return "";
  Ref<NSString> table = specifier->properties()->objectForKey<NSString>("localizationTable");
  NSObject* target = specifier->target();
  NSBundle* bundle = target ? NSBundle::bundleForClass(target->isa()) : NSBundle::mainBundle();
  return bundle->localizedStringForKey(label->string(), label->string(),
                                       table ? table->string() : "");
}

UISlider* sliderOf(XXXLabeledSliderCell* self) {
  return dynamic_cast<UISlider*>(self->control());
}

void buildLayout(XXXLabeledSliderCell* self) {
  UIView* content = self->contentView();
  self->_sliderStackView = objc::make<UIStackView>();
  self->_sliderStackView->setAxis(UILayoutConstraintAxisHorizontal);
  self->_sliderStackView->setAlignment(UIStackViewAlignmentCenter);
  self->_sliderStackView->setDistribution(UIStackViewDistributionFill);
  self->_sliderStackView->setSpacing(5);
  self->_sliderStackView->addArrangedSubview(Ref<UIView>(self->control()));
  self->_sliderStackView->addArrangedSubview(self->_valueLabel);
  self->_stackView = objc::make<UIStackView>();
  self->_stackView->setAxis(UILayoutConstraintAxisVertical);
  self->_stackView->setAlignment(UIStackViewAlignmentCenter);
  self->_stackView->setDistribution(UIStackViewDistributionEqualCentering);
  self->_stackView->setSpacing(0);
  self->_stackView->addArrangedSubview(self->_sliderLabel);
  self->_stackView->addArrangedSubview(self->_sliderStackView);
  content->addSubview(self->_stackView);
  for (UIView* view : {static_cast<UIView*>(self->_stackView.get()),
                       static_cast<UIView*>(self->_sliderStackView.get()),
                       static_cast<UIView*>(self->_valueLabel.get())}) {
    extrasOf(view).translatesAutoresizingMaskIntoConstraints = false;
  }
  UIView* stack = self->_stackView.get();
  NSLayoutConstraint::activateConstraints({
      NSLayoutConstraint::constraint(stack, NSLayoutAttributeTop, content, NSLayoutAttributeTop, 4),
      NSLayoutConstraint::constraint(stack, NSLayoutAttributeLeading, content,
                                     NSLayoutAttributeLeading, 15),
      NSLayoutConstraint::constraint(stack, NSLayoutAttributeTrailing, content,
                                     NSLayoutAttributeTrailing, -15),
      NSLayoutConstraint::constraint(stack, NSLayoutAttributeBottom, content,
                                     NSLayoutAttributeBottom, -4),
      NSLayoutConstraint::constraint(self->_sliderStackView.get(), NSLayoutAttributeWidth, stack,
                                     NSLayoutAttributeWidth),
      NSLayoutConstraint::constraint(self->_valueLabel.get(), NSLayoutAttributeHeight,
                                     self->_sliderStackView.get(), NSLayoutAttributeHeight),
  });
}

Ref<PSTableCell> initCell(XXXLabeledSliderCell* self, SEL cmd, long style,
                          NSString* reuseIdentifier, PSSpecifier* specifier) {
  Ref<PSTableCell> cell =
      objc::msgSendSuper<Ref<PSTableCell>>(objc_getClass("XXXLabeledSliderCell"), self, cmd, style,
                                           reuseIdentifier, static_cast<NSObject*>(specifier));
  if (!specifier || !sliderOf(self)) return cell;
  specifier->setProperty(NSNumber::numberWithLongLong(56), "height");
  self->_sliderLabel = objc::make<UILabel>();
  setFont(self->_sliderLabel.get(), UIFont::systemFontOfSize(15, UIFontWeightBold));
  self->_sliderLabel->setText(NSString::from(caption(specifier)));
  self->_valueLabel = objc::make<UILabel>();
  setFont(self->_valueLabel.get(), UIFont::monospacedDigitSystemFontOfSize(10, UIFontWeightBold));
  self->_valueLabel->setText(
      NSString::from(formatted("%.01f", floatValueOf(specifier->performGetter().get()))));
  CGSize fitting = self->_valueLabel->sizeThatFits({1e6, 1e6});
  self->_valueLabel->setFrame(CGRectMake(0, 0, fitting.width, fitting.height));
  buildLayout(self);
  sliderOf(self)->addTarget(
      self, objc::sel("sliderValueChanged:"),
      UIControlEventTouchDragInside | UIControlEventTouchDragOutside | UIControlEventValueChanged);
  addTapRecognizer(self->_valueLabel.get(), self, objc::sel("setCustomSliderValue"));
  return cell;
}

void sliderValueChanged(XXXLabeledSliderCell* self, SEL, NSObject*) {
  if (UISlider* slider = sliderOf(self); slider && self->_valueLabel) {
    self->_valueLabel->setText(NSString::from(formatted("%.01f", slider->value())));
  }
}

// Takes the typed value into the slider's range and stores it as a drag would.
void applyTypedValue(XXXLabeledSliderCell* self, const NSString* text) {
  UISlider* slider = sliderOf(self);
  if (!slider) return;
  float value = parsedFloat(text);
  if (value > slider->maximumValue()) {
    value = slider->maximumValue();
  } else if (value < slider->minimumValue()) {
    value = slider->minimumValue();
  }
  objc::msgSend<void>(self->specifier(), objc::sel("performSetterWithValue:"),
                      NSNumber::numberWithDouble(value));
  slider->setValue(value, true);
  objc::msgSend<void>(self, objc::sel("sliderValueChanged:"), static_cast<NSObject*>(slider));
}

void setCustomSliderValue(XXXLabeledSliderCell* self, SEL) {
  UISlider* slider = sliderOf(self);
  if (!slider) return;
  Ref<UIAlertController> alert = UIAlertController::alertControllerWithTitle(
      NSString::from("Enter Value"), nullptr, UIAlertControllerStyleAlert);
  alert->addTextFieldWithConfigurationHandler([&](UITextField* field) {
    field->setKeyboardType(UIKeyboardTypeDecimalPad);
    field->setTextColor(system_colors::orangeColor());
    field->setText(NSString::from(formatted("%.02f", slider->value())));
  });
  UITextField* field = alert->textFields().front().get();  // owned by the alert
  Ref<XXXLabeledSliderCell> cell(self);
  alert->addAction(UIAlertAction::actionWithTitle(
      "Set", UIAlertActionStyleDefault,
      [cell, field](UIAlertAction*) { applyTypedValue(cell.get(), field->text()); }));
  alert->addAction(UIAlertAction::actionWithTitle("Cancel", UIAlertActionStyleCancel));
  Ref<HostedViewController> presenter =
      objc::msgSend<Ref<HostedViewController>>(self, objc::sel("appropriateViewController"));
  if (presenter) presenter->presentViewController(alert, true);
}

void colourLabels(XXXLabeledSliderCell* self) {
  if (self->_sliderLabel) self->_sliderLabel->setTextColor(system_colors::orangeColor());
  if (self->_valueLabel) self->_valueLabel->setTextColor(system_colors::orangeColor());
}

}  // namespace

void defineLabeledSliderCell() {
  objc::Class* cls = objc::defineClass<XXXLabeledSliderCell, PSSliderTableCell>(
      "XXXLabeledSliderCell", objc_getClass("PSSliderTableCell"));
  if (!cls) return;
  objc::addMethod(cls, "initWithStyle:reuseIdentifier:specifier:", &initCell);
  objc::addMethod(cls, "sliderValueChanged:", &sliderValueChanged);
  objc::addMethod(cls, "setCustomSliderValue", &setCustomSliderValue);
  objc::addMethod(cls, "appropriateViewController", [](XXXLabeledSliderCell* self, SEL) {
    return Ref<HostedViewController>(controllerToPresentFrom(self));
  });
  objc::addMethod(cls, "tintColorDidChange", [](XXXLabeledSliderCell* self, SEL cmd) {
    objc::msgSendSuper<void>(objc_getClass("XXXLabeledSliderCell"), self, cmd);
    colourLabels(self);
  });
  objc::addMethod(cls, "refreshCellContentsWithSpecifier:",
                  [](XXXLabeledSliderCell* self, SEL cmd, PSSpecifier* specifier) {
                    objc::msgSendSuper<void>(objc_getClass("XXXLabeledSliderCell"), self, cmd,
                                             static_cast<NSObject*>(specifier));
                    colourLabels(self);
                  });
}
