#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace objc {
class Class;

// A declared property of a class: its name and attributes in the runtime's notation
// (T = type encoding, & = strong, N = nonatomic, R = read-only, G/S = custom accessors…).
class Property {
 public:
  using Attribute = std::pair<std::string, std::string>;
  Property(std::string name, std::vector<Attribute> attributes);

  const std::string& name() const { return name_; }
  // All attributes joined as the platform prints them, e.g. `T@"UIView",&,N`.
  const std::string& attributes() const { return joined_; }
  // The value of one attribute ("" for flags such as "N"), or none if absent.
  std::optional<std::string> attributeValue(std::string_view attribute) const;

 private:
  std::string name_;
  std::vector<Attribute> attributes_;
  std::string joined_;
};

}  // namespace objc

struct objc_property_attribute_t {
  const char* name;
  const char* value;
};

// Declares a property on a class; false for a null class or a name the class already declares.
bool class_addProperty(objc::Class* cls, const char* name,
                       const objc_property_attribute_t* attributes, unsigned int count);
// The properties cls itself declares, not inherited ones, in the order declared; pass the
// metaclass for class properties. A snapshot; properties live for the whole process. Empty for
// a null class.
std::vector<const objc::Property*> class_copyPropertyList(const objc::Class* cls);
// The property declared by cls or a superclass, or null.
const objc::Property* class_getProperty(objc::Class* cls, const char* name);
const char* property_getName(const objc::Property* property);
const char* property_getAttributes(const objc::Property* property);
std::optional<std::string> property_copyAttributeValue(const objc::Property* property,
                                                       const char* attributeName);
