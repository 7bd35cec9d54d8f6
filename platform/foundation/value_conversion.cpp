#include "platform/foundation/value_conversion.h"

#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"

namespace {

template <class Result, class FromNumber, class FromString>
Result convert(const NSObject* object, FromNumber fromNumber, FromString fromString) {
  if (auto* number = dynamic_cast<const NSNumber*>(object)) return fromNumber(*number);
  if (auto* string = dynamic_cast<const NSString*>(object)) return fromString(*string);
  return Result{};
}

}  // namespace

bool boolValueOf(const NSObject* object) {
  return convert<bool>(
      object, [](const NSNumber& n) { return n.boolValue(); },
      [](const NSString& s) { return s.boolValue(); });
}

float floatValueOf(const NSObject* object) {
  return convert<float>(
      object, [](const NSNumber& n) { return n.floatValue(); },
      [](const NSString& s) { return s.floatValue(); });
}

double doubleValueOf(const NSObject* object) {
  return convert<double>(
      object, [](const NSNumber& n) { return n.doubleValue(); },
      [](const NSString& s) { return s.doubleValue(); });
}

int64_t longLongValueOf(const NSObject* object) {
  return convert<int64_t>(
      object, [](const NSNumber& n) { return n.longLongValue(); },
      [](const NSString& s) { return s.longLongValue(); });
}
