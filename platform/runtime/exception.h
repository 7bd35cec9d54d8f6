#pragma once

#include <stdexcept>
#include <string>

namespace objc {

// What the platform raises for programming errors: an unrecognised selector, a message whose
// types do not match the method, a key that is not key-value coding compliant. `name` is the
// platform's exception name ("NSInvalidArgumentException", "NSUnknownKeyException").
class Exception : public std::runtime_error {
 public:
  Exception(std::string name, const std::string& reason)
      : std::runtime_error(reason), name_(std::move(name)) {}
  const std::string& name() const { return name_; }

 private:
  std::string name_;
};

}  // namespace objc
