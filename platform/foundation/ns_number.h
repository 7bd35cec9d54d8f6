#pragma once

#include <cstdint>
#include <string>
#include <variant>

#include "platform/foundation/ns_object.h"

// A boxed boolean or number. It keeps the kind it was made with (objCType "B", "q", "Q" or "d")
// and converts on reading as the platform does: a number's boolean value is true when non-zero,
// its float value the number as a 32-bit float.
class NSNumber : public NSObject {
 public:
  static Ref<NSNumber> numberWithBool(bool value);
  static Ref<NSNumber> numberWithLongLong(int64_t value);
  static Ref<NSNumber> numberWithUnsignedLongLong(uint64_t value);
  static Ref<NSNumber> numberWithDouble(double value);

  bool isBoolean() const { return std::holds_alternative<bool>(value_); }
  bool isReal() const { return std::holds_alternative<double>(value_); }
  const char* objCType() const;

  bool boolValue() const;
  int64_t longLongValue() const;
  uint64_t unsignedLongLongValue() const;
  double doubleValue() const;
  float floatValue() const { return static_cast<float>(doubleValue()); }

  bool isEqualToNumber(const NSNumber* other) const;
  // "1"/"0" for booleans, the shortest exact decimal for reals.
  std::string stringValue() const;

 private:
  using Value = std::variant<bool, int64_t, uint64_t, double>;
  static Ref<NSNumber> make(Value value);

  Value value_ = int64_t{0};
};
