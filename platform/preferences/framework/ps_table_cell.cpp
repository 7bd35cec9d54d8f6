#include "platform/preferences/framework/ps_table_cell.h"

#include <algorithm>

#include "platform/foundation/ns_number.h"
#include "platform/foundation/value_conversion.h"

namespace {

constexpr double kDefaultRowHeight = 44;
constexpr double kSideMargin = 16;
constexpr double kAccessoryGap = 8;
constexpr double kMostOfTheRow = 0.6;

bool showsValue(const PSSpecifier* specifier) {
  return specifier->propertyForKey("key") || specifier->propertyForKey("get");
}

Ref<PSTableCell> initialise(PSTableCell* self, SEL, long style, NSString* reuseIdentifier,
                            PSSpecifier* specifier) {
  objc::msgSend<Ref<UITableViewCell>>(self, objc::sel("initWithStyle:reuseIdentifier:"), style,
                                      reuseIdentifier);
  self->setSpecifier(specifier);
  if (auto* control = dynamic_cast<PSControlTableCell*>(self)) control->setUpControl();
  if (auto* editable = dynamic_cast<PSEditableTableCell*>(self)) editable->setUpTextField();
  return Ref<PSTableCell>(self);
}

void refresh(PSTableCell* self, SEL, PSSpecifier* specifier) {
  if (!specifier) return;
  self->setSpecifier(specifier);
  objc::msgSend<void>(self, objc::sel("setTitle:"), specifier->name());
  if (showsValue(specifier)) {
    objc::msgSend<void>(self, objc::sel("setValue:"), specifier->performGetter());
  }
}

double preferredHeight(PSTableCell* self) {
  Ref<NSObject> height = self->specifier() ? self->specifier()->propertyForKey("height") : nullptr;
  return height ? doubleValueOf(height.get()) : kDefaultRowHeight;
}

// The title takes the width its text needs (up to most of the row), the field the rest.
void layOutTextField(PSEditableTableCell* self) {
  const CGRect bounds = self->bounds();
  const double room = bounds.width() - 2 * kSideMargin;
  const double title = std::min(self->titleLabel()->sizeThatFits({room, bounds.height()}).width,
                                room * kMostOfTheRow);
  self->titleLabel()->setFrame(CGRectMake(kSideMargin, 0, title, bounds.height()));
  const double field = title > 0 ? title + kAccessoryGap : 0;
  self->textField()->setFrame(CGRectMake(kSideMargin + field, 0, room - field, bounds.height()));
}

void layOut(PSTableCell* self) {
  self->layOutCell();
  if (auto* editable = dynamic_cast<PSEditableTableCell*>(self)) layOutTextField(editable);
  UIControl* control = self->control();
  if (!control) return;
  const bool toggle = dynamic_cast<UISwitch*>(control);
  // Sliders and segmented controls take the row in place of its title, wherever a cell puts
  // them.
  if (!toggle) self->titleLabel()->setHidden(true);
  if (control->superview() != self->contentView()) return;
  const CGRect bounds = self->bounds();
  if (toggle) {
    // The switch is the row's accessory: the content, and what cells pin to its trailing
    // edge, ends before it.
    const double contentWidth = bounds.width() - kSideMargin - 51 - kAccessoryGap;
    self->contentView()->setFrame(CGRectMake(0, 0, contentWidth, bounds.height()));
    self->titleLabel()->setFrame(
        CGRectMake(kSideMargin, 0, contentWidth - kSideMargin, bounds.height()));
    control->setFrame(
        CGRectMake(bounds.width() - kSideMargin - 51, (bounds.height() - 31) / 2, 51, 31));
  } else {
    control->setFrame(
        CGRectMake(kSideMargin, (bounds.height() - 30) / 2, bounds.width() - 2 * kSideMargin, 30));
  }
}

void controlChanged(PSControlTableCell* self) {
  if (PSSpecifier* specifier = self->specifier()) {
    objc::msgSend<void>(specifier, objc::sel("performSetterWithValue:"), self->controlValue());
  }
}

}  // namespace

void PSTableCell::setControl(Ref<UIControl> control) {
  if (control_) control_->removeFromSuperview();
  control_ = std::move(control);
  if (control_) contentView()->addSubview(control_);
}

Ref<NSObject> PSControlTableCell::controlValue() const {
  if (auto* slider = dynamic_cast<UISlider*>(control())) {
    return NSNumber::numberWithDouble(slider->value());
  }
  if (auto* toggle = dynamic_cast<UISwitch*>(control())) {
    return NSNumber::numberWithBool(toggle->isOn());
  }
  if (auto* segments = dynamic_cast<UISegmentedControl*>(control())) {
    long index = segments->selectedSegmentIndex();
    const PSSpecifier* owner = specifier();
    if (index < 0 || !owner || static_cast<size_t>(index) >= owner->choices().size()) {
      return nullptr;
    }
    return owner->choices()[static_cast<size_t>(index)].value;
  }
  return nullptr;
}

void PSControlTableCell::showValue(const NSObject* value) {
  if (auto* slider = dynamic_cast<UISlider*>(control())) {
    slider->setValue(floatValueOf(value));
  } else if (auto* toggle = dynamic_cast<UISwitch*>(control())) {
    toggle->setOn(boolValueOf(value));
  } else if (auto* segments = dynamic_cast<UISegmentedControl*>(control())) {
    segments->setSelectedSegmentIndex(specifier() ? specifier()->indexOfValue(value) : -1);
  }
}

void PSControlTableCell::setUpControl() {
  Ref<UIControl> control;
  if (dynamic_cast<PSSliderTableCell*>(this)) {
    auto slider = objc::make<UISlider>();
    slider->setRange(floatValueOf(specifier()->propertyForKey("min").get()),
                     floatValueOf(specifier()->propertyForKey("max").get()));
    control = slider;
  } else if (dynamic_cast<PSSwitchTableCell*>(this)) {
    control = objc::make<UISwitch>();
  } else {
    auto segments = objc::make<UISegmentedControl>();
    std::vector<Ref<NSString>> titles;
    for (const PSSpecifier::Choice& choice : specifier()->choices())
      titles.push_back(choice.title);
    segments->setTitles(titles);
    control = segments;
  }
  control->addTarget(this, objc::sel("controlChanged:"), UIControlEventValueChanged);
  setControl(std::move(control));
}

void PSEditableTableCell::setUpTextField() {
  textField_ = objc::make<UITextField>();
  if (specifier()) {
    textField_->setPlaceholder(specifier()->properties()->objectForKey<NSString>("placeholder"));
  }
  contentView()->addSubview(textField_);
}

void defineTableCellClasses() {
  objc::Class* cell = objc::defineClass<PSTableCell, UITableViewCell>("PSTableCell");
  objc::addMethod(cell, "initWithStyle:reuseIdentifier:specifier:", &initialise);
  objc::addMethod(cell, "refreshCellContentsWithSpecifier:", &refresh);
  objc::addMethod(cell, "setTitle:", [](PSTableCell* self, SEL, NSString* title) {
    self->titleLabel()->setText(title);
  });
  objc::addMethod(cell, "setValue:", [](PSTableCell* self, SEL, NSObject* value) {
    if (auto* control = dynamic_cast<PSControlTableCell*>(self)) {
      control->showValue(value);
    } else if (auto* editable = dynamic_cast<PSEditableTableCell*>(self)) {
      auto* text = dynamic_cast<NSString*>(value);
      editable->textField()->setText(text    ? Ref<NSString>(text)
                                     : value ? NSString::from(describe(value))
                                             : nullptr);
    } else if (self->detailTextLabel()) {
      self->detailTextLabel()->setText(value ? NSString::from(describe(value)) : nullptr);
    }
  });
  objc::addMethod(cell, "specifier",
                  [](PSTableCell* self, SEL) { return Ref<PSSpecifier>(self->specifier()); });
  objc::addMethod(cell, "titleLabel",
                  [](PSTableCell* self, SEL) { return Ref<UILabel>(self->titleLabel()); });
  objc::addMethod(cell, "preferredHeightForWidth:", [](PSTableCell* self, SEL, double) {
    return preferredHeight(self);
  });
  objc::addMethod(cell, "layoutSubviews", [](PSTableCell* self, SEL) { layOut(self); });

  objc::Class* controlCell =
      objc::defineClass<PSControlTableCell, PSTableCell>("PSControlTableCell");
  objc::addMethod(controlCell, "control",
                  [](PSControlTableCell* self, SEL) { return Ref<UIControl>(self->control()); });
  objc::addMethod(controlCell, "controlChanged:", [](PSControlTableCell* self, SEL, NSObject*) {
    controlChanged(self);
  });
  objc::defineClass<PSSliderTableCell, PSControlTableCell>("PSSliderTableCell");
  objc::defineClass<PSSwitchTableCell, PSControlTableCell>("PSSwitchTableCell");
  objc::defineClass<PSSegmentTableCell, PSControlTableCell>("PSSegmentTableCell");
  objc::addMethod(
      objc::defineClass<PSEditableTableCell, PSTableCell>("PSEditableTableCell"),
      "textFieldDidEndEditing:", [](PSEditableTableCell* self, SEL, NSObject*) {
        if (!self->specifier()) return;
        Ref<NSString> text = self->textField()->text() ? Ref<NSString>(self->textField()->text())
                                                       : NSString::from("");
        objc::msgSend<void>(self->specifier(), objc::sel("performSetterWithValue:"), text);
      });
}
