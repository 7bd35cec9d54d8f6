#include "platform/runtime/property.h"

#include <algorithm>

#include "platform/runtime/internal/class_table.h"

namespace objc {

Property::Property(std::string name, std::vector<Attribute> attributes)
    : name_(std::move(name)), attributes_(std::move(attributes)) {
  for (const auto& [key, value] : attributes_) {
    if (!joined_.empty()) joined_ += ',';
    joined_ += key + value;
  }
}

std::optional<std::string> Property::attributeValue(std::string_view attribute) const {
  auto found = std::find_if(attributes_.begin(), attributes_.end(),
                            [&](const Attribute& entry) { return entry.first == attribute; });
  if (found == attributes_.end()) return std::nullopt;
  return found->second;
}

}  // namespace objc

bool class_addProperty(objc::Class* cls, const char* name,
                       const objc_property_attribute_t* attributes, unsigned int count) {
  if (!cls || !name) return false;
  std::vector<objc::Property::Attribute> list;
  for (unsigned int i = 0; i < count; ++i) {
    list.emplace_back(attributes[i].name ? attributes[i].name : "",
                      attributes[i].value ? attributes[i].value : "");
  }
  auto& table = objc::ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.addProperty_locked(cls, objc::Property(name, std::move(list))) != nullptr;
}

std::vector<const objc::Property*> class_copyPropertyList(const objc::Class* cls) {
  if (!cls) return {};
  auto& table = objc::ClassTable::shared();
  std::lock_guard lock(table.lock());
  return table.ownProperties_locked(cls);
}

const objc::Property* class_getProperty(objc::Class* cls, const char* name) {
  if (!name) return nullptr;
  auto& table = objc::ClassTable::shared();
  std::lock_guard lock(table.lock());
  for (; cls; cls = cls->superclass()) {
    if (auto* property = table.property_locked(cls, name)) return property;
  }
  return nullptr;
}

const char* property_getName(const objc::Property* property) {
  return property ? property->name().c_str() : nullptr;
}

const char* property_getAttributes(const objc::Property* property) {
  return property ? property->attributes().c_str() : nullptr;
}

std::optional<std::string> property_copyAttributeValue(const objc::Property* property,
                                                       const char* attributeName) {
  if (!property || !attributeName) return std::nullopt;
  return property->attributeValue(attributeName);
}
