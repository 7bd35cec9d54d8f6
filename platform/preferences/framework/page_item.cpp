#include "platform/preferences/framework/page_item.h"

#include <array>

#include "platform/foundation/property_list.h"

namespace {

constexpr std::array<std::string_view, 15> kCellTypeNames{
    "PSGroupCell",          "PSLinkCell",    "PSLinkListCell",    "PSListItemCell",
    "PSTitleValueCell",     "PSSliderCell",  "PSSwitchCell",      "PSStaticTextCell",
    "PSEditTextCell",       "PSSegmentCell", "PSGiantIconCell",   "PSGiantCell",
    "PSSecureEditTextCell", "PSButtonCell",  "PSEditTextViewCell"};

}  // namespace

std::optional<PSCellType> cellTypeNamed(std::string_view name) {
  for (size_t i = 0; i < kCellTypeNames.size(); ++i) {
    if (kCellTypeNames[i] == name) return static_cast<PSCellType>(i);
  }
  return std::nullopt;
}

std::string_view nameOfCellType(PSCellType type) {
  size_t index = static_cast<size_t>(type);
  return index < kCellTypeNames.size() ? kCellTypeNames[index] : "PSGroupCell";
}

Ref<PSSpecifier> PSSpecifier::preferenceSpecifierNamed(Ref<NSString> name, NSObject* target,
                                                       SEL setter, SEL getter, PSCellType cell) {
  auto specifier = objc::make<PSSpecifier>();
  specifier->name_ = std::move(name);
  specifier->target_ = target;
  specifier->setter_ = setter;
  specifier->getter_ = getter;
  specifier->cellType_ = cell;
  specifier->properties_ = NSMutableDictionary::from({});
  return specifier;
}

void PSSpecifier::setProperties(Ref<NSMutableDictionary> properties) {
  properties_ = properties ? std::move(properties) : NSMutableDictionary::from({});
}

Ref<NSObject> PSSpecifier::propertyForKey(std::string_view key) const {
  return properties_->objectForKey(key);
}

void PSSpecifier::setProperty(Ref<NSObject> value, std::string_view key) {
  properties_->setObject(key, std::move(value));
}

objc::Class* PSSpecifier::detailControllerClass() const {
  Ref<NSString> detail = properties_->objectForKey<NSString>("detail");
  return detail ? objc_getClass(detail->string()) : nullptr;
}

Ref<NSArray> PSSpecifier::values() const {
  NSArray::Objects values;
  for (const Choice& choice : choices_)
    values.push_back(choice.value);
  return NSArray::from(std::move(values));
}

Ref<NSString> PSSpecifier::titleForValue(const NSObject* value) const {
  long index = indexOfValue(value);
  return index < 0 ? nullptr : choices_[static_cast<size_t>(index)].title;
}

long PSSpecifier::indexOfValue(const NSObject* value) const {
  for (size_t i = 0; i < choices_.size(); ++i) {
    if (propertyListsEqual(choices_[i].value.get(), value)) return static_cast<long>(i);
  }
  return -1;
}

Ref<NSObject> PSSpecifier::performGetter() {
  if (!target_ || !getter_) return nullptr;
  return objc::msgSend<Ref<NSObject>>(target_, getter_, static_cast<NSObject*>(this));
}

void PSSpecifier::performSetterWithValue(NSObject* value) {
  if (!target_ || !setter_) return;
  Ref<PSSpecifier> keepAlive(this);
  objc::msgSend<void>(target_, setter_, value, static_cast<NSObject*>(this));
}

void defineSpecifierClass() {
  objc::Class* specifier = objc::defineClass<PSSpecifier, NSObject>("PSSpecifier");
  objc::addMethod(specifier, "properties",
                  [](PSSpecifier* self, SEL) { return Ref<NSDictionary>(self->properties()); });
  objc::addMethod(specifier, "name",
                  [](PSSpecifier* self, SEL) { return Ref<NSString>(self->name()); });
  objc::addMethod(specifier, "identifier",
                  [](PSSpecifier* self, SEL) { return Ref<NSString>(self->identifier()); });
  objc::addMethod(specifier, "target",
                  [](PSSpecifier* self, SEL) { return Ref<NSObject>(self->target()); });
  objc::addMethod(specifier, "values", [](PSSpecifier* self, SEL) { return self->values(); });
  objc::addMethod(specifier, "propertyForKey:", [](PSSpecifier* self, SEL, NSString* key) {
    return key ? self->propertyForKey(key->string()) : nullptr;
  });
  objc::addMethod(
      specifier, "setProperty:forKey:", [](PSSpecifier* self, SEL, NSObject* value, NSString* key) {
        if (key) self->setProperty(value, key->string());
      });
  objc::addMethod(specifier, "performGetter",
                  [](PSSpecifier* self, SEL) { return self->performGetter(); });
  objc::addMethod(specifier,
                  "performSetterWithValue:", [](PSSpecifier* self, SEL, NSObject* value) {
                    self->performSetterWithValue(value);
                  });
}
