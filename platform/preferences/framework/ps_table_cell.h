#pragma once

#include "platform/preferences/framework/page_item.h"
#include "platform/uikit/ui_controls.h"
#include "platform/uikit/ui_table_view.h"

// The row of a settings page. Made by the page with the runtime initialiser
// `initWithStyle:reuseIdentifier:specifier:` (or `initWithSpecifier:` for a class that
// defines it, such as a banner), then filled by `refreshCellContentsWithSpecifier:`, which
// sets the title through `setTitle:` and, for a row with a value, sends `setValue:` with what
// the specifier's getter returns. All of these, `layoutSubviews` and
// `preferredHeightForWidth:` are runtime methods that subclasses override.
class PSTableCell : public UITableViewCell {
 public:
  PSSpecifier* specifier() const { return specifier_.get(); }
  void setSpecifier(Ref<PSSpecifier> specifier) { specifier_ = std::move(specifier); }
  // The title label (the table cell's text label).
  UILabel* titleLabel() const { return textLabel(); }
  // The control of slider, switch and segment rows, else null.
  UIControl* control() const { return control_.get(); }

 protected:
  void setControl(Ref<UIControl> control);

 private:
  Ref<PSSpecifier> specifier_;
  Ref<UIControl> control_;
};

// A row whose control shows and edits the setting: the value reaches the control through
// `setValue:`, and a change the user makes goes to the specifier's `performSetterWithValue:`.
class PSControlTableCell : public PSTableCell {
 public:
  // The value the control shows now, boxed as it is stored.
  Ref<NSObject> controlValue() const;
  // Shows value in the control, converted as the platform converts stored values.
  void showValue(const NSObject* value);
  // Builds the control for the cell's specifier: a slider, a switch or segments.
  void setUpControl();
};

class PSSliderTableCell : public PSControlTableCell {};
class PSSwitchTableCell : public PSControlTableCell {};
class PSSegmentTableCell : public PSControlTableCell {};

// A row with a text field: the value shows as its text; text the user enters goes to the
// specifier's `performSetterWithValue:` when editing ends (`textFieldDidEndEditing:`).
class PSEditableTableCell : public PSTableCell {
 public:
  UITextField* textField() const { return textField_.get(); }
  void setUpTextField();

 private:
  Ref<UITextField> textField_;
};

void defineTableCellClasses();
