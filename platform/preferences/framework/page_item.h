#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_string.h"

// The kinds of row a specifier describes, numbered as the platform numbers them.
enum PSCellType : long {
  PSGroupCell = 0,
  PSLinkCell = 1,
  PSLinkListCell = 2,
  PSListItemCell = 3,
  PSTitleValueCell = 4,
  PSSliderCell = 5,
  PSSwitchCell = 6,
  PSStaticTextCell = 7,
  PSEditTextCell = 8,
  PSSegmentCell = 9,
  PSGiantIconCell = 10,
  PSGiantCell = 11,
  PSSecureEditTextCell = 12,
  PSButtonCell = 13,
  PSEditTextViewCell = 14,
};

// The cell type a plist names ("PSSwitchCell"…), or none.
std::optional<PSCellType> cellTypeNamed(std::string_view name);
std::string_view nameOfCellType(PSCellType type);

// One row of a settings page: its plist entry (`properties`), its name and identifier, its
// cell type, the target whose methods read, write and act for it, and the choices of list
// and segment rows. The target is held weakly: it is the page controller, which holds its
// specifiers.
class PSSpecifier : public NSObject {
 public:
  // A value of a segment or list row and the title shown for it.
  struct Choice {
    Ref<NSObject> value;
    Ref<NSString> title;
    Ref<NSString> shortTitle;
  };

  static Ref<PSSpecifier> preferenceSpecifierNamed(Ref<NSString> name, NSObject* target, SEL setter,
                                                   SEL getter, PSCellType cell);

  NSMutableDictionary* properties() const { return properties_.get(); }
  void setProperties(Ref<NSMutableDictionary> properties);
  Ref<NSObject> propertyForKey(std::string_view key) const;
  // A nil value removes the property.
  void setProperty(Ref<NSObject> value, std::string_view key);

  NSString* name() const { return name_.get(); }
  void setName(Ref<NSString> name) { name_ = std::move(name); }
  NSString* identifier() const { return identifier_ ? identifier_.get() : name_.get(); }
  void setIdentifier(Ref<NSString> identifier) { identifier_ = std::move(identifier); }
  PSCellType cellType() const { return cellType_; }
  NSObject* target() const { return target_; }
  void setTarget(NSObject* target) { target_ = target; }
  SEL getter() const { return getter_; }
  SEL setter() const { return setter_; }
  SEL action() const { return action_; }
  void setAction(SEL action) { action_ = action; }
  // The class a link row pushes (its "detail"), or null.
  objc::Class* detailControllerClass() const;

  const std::vector<Choice>& choices() const { return choices_; }
  void setChoices(std::vector<Choice> choices) { choices_ = std::move(choices); }
  // The values of the choices, as the platform's `values`.
  Ref<NSArray> values() const;
  // The title given for value (compared as property lists), or nil.
  Ref<NSString> titleForValue(const NSObject* value) const;
  // The index of value among the choices, or -1.
  long indexOfValue(const NSObject* value) const;

  // The value the row shows: its getter sent to its target with this specifier; nil
  // without either.
  Ref<NSObject> performGetter();
  // Stores a value the user chose: the setter sent to the target with the value and this
  // specifier. Also the runtime method `performSetterWithValue:`, so cells reach it by
  // message.
  void performSetterWithValue(NSObject* value);

 private:
  Ref<NSMutableDictionary> properties_;
  Ref<NSString> name_;
  Ref<NSString> identifier_;
  PSCellType cellType_ = PSGroupCell;
  NSObject* target_ = nullptr;
  SEL getter_ = nullptr;
  SEL setter_ = nullptr;
  SEL action_ = nullptr;
  std::vector<Choice> choices_;
};

void defineSpecifierClass();
