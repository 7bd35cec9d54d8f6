#include "source/colors/runtime_classes.h"

#include <cctype>
#include <string>
#include <vector>

#include "platform/foundation/log.h"

namespace runtime_classes {

void addOrLog(objc::Class* cls, std::string_view selector, objc::Imp imp,
              std::string_view logPrefix) {
  if (!cls || class_addMethod(cls, objc::sel(selector), imp, imp.encoding())) return;
  NSLog("%s%s[%s %s] already exists; left as it is", logPrefix, cls->isMetaClass() ? "+" : "-",
        cls->name(), selector);
}

void addProperty(objc::Class* cls, std::string_view name, std::string_view type, objc::Imp getter,
                 objc::Imp setter) {
  const std::string nameText(name), typeText(type), ivar = "_" + nameText;
  std::string setterSelector = "set" + nameText + ":";
  setterSelector[3] =
      static_cast<char>(std::toupper(static_cast<unsigned char>(setterSelector[3])));
  std::vector<objc_property_attribute_t> attributes = {{"T", typeText.c_str()}};
  if (type.starts_with('@')) attributes.push_back({"&", ""});
  attributes.push_back({"N", ""});
  attributes.push_back({"V", ivar.c_str()});
  class_addProperty(cls, nameText.c_str(), attributes.data(),
                    static_cast<unsigned>(attributes.size()));
  class_addMethod(cls, objc::sel(name), getter, getter.encoding());
  class_addMethod(cls, objc::sel(setterSelector), setter, setter.encoding());
}

namespace detail {

void logTakenClass(std::string_view name, std::string_view logPrefix) {
  NSLog("%sclass %s already exists; left as it is", logPrefix, name);
}

}  // namespace detail

}  // namespace runtime_classes
