#pragma once

#include <string>
#include <string_view>

namespace objc {

// An interned method name. Two selectors with the same name are the same object, so selectors
// compare by address.
class Selector {
 public:
  explicit Selector(std::string name) : name_(std::move(name)) {}
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace objc

using SEL = const objc::Selector*;

// Interns a selector name; the same name always yields the same SEL. Thread-safe; selectors
// live for the whole process.
SEL sel_registerName(std::string_view name);
// The name a selector was registered with ("" for a null selector).
const char* sel_getName(SEL selector);

namespace objc {
// Shorthand for sel_registerName.
inline SEL sel(std::string_view name) {
  return sel_registerName(name);
}
}  // namespace objc
