#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/ns_object.h"

// An immutable string of UTF-8 text.
class NSString : public NSObject {
 public:
  static Ref<NSString> from(std::string text);

  const std::string& string() const { return text_; }
  const char* UTF8String() const { return text_.c_str(); }
  size_t length() const { return text_.size(); }

  bool isEqualToString(const NSString* other) const { return other && other->text_ == text_; }
  bool containsString(std::string_view part) const { return text_.find(part) != std::string::npos; }
  // Splits at every occurrence of the separator; an empty string gives one empty component.
  std::vector<std::string> componentsSeparatedByString(std::string_view separator) const;

  // The platform's conversions: leading white space skipped; see value_conversion.h.
  bool boolValue() const;
  double doubleValue() const;
  float floatValue() const { return static_cast<float>(doubleValue()); }
  int64_t longLongValue() const;

 private:
  std::string text_;
};

// Core Foundation strings are the same objects.
using CFStringRef = const NSString*;
// An immortal string for a literal, the same object for the same text.
CFStringRef CFSTR(std::string_view literal);
