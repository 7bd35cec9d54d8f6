#include "platform/foundation/ns_number.h"

#include <charconv>

namespace {
template <class... F>
struct Overloaded : F... {
  using F::operator()...;
};
template <class... F>
Overloaded(F...) -> Overloaded<F...>;
}  // namespace

Ref<NSNumber> NSNumber::make(Value value) {
  auto number = objc::make<NSNumber>();
  number->value_ = value;
  return number;
}

Ref<NSNumber> NSNumber::numberWithBool(bool value) {
  return make(value);
}
Ref<NSNumber> NSNumber::numberWithLongLong(int64_t value) {
  return make(value);
}
Ref<NSNumber> NSNumber::numberWithUnsignedLongLong(uint64_t value) {
  return make(value);
}
Ref<NSNumber> NSNumber::numberWithDouble(double value) {
  return make(value);
}

const char* NSNumber::objCType() const {
  static constexpr const char* kTypes[] = {"B", "q", "Q", "d"};
  return kTypes[value_.index()];
}

bool NSNumber::boolValue() const {
  return std::visit([](auto value) { return value != 0; }, value_);
}

int64_t NSNumber::longLongValue() const {
  return std::visit([](auto value) { return static_cast<int64_t>(value); }, value_);
}

uint64_t NSNumber::unsignedLongLongValue() const {
  return std::visit([](auto value) { return static_cast<uint64_t>(value); }, value_);
}

double NSNumber::doubleValue() const {
  return std::visit([](auto value) { return static_cast<double>(value); }, value_);
}

bool NSNumber::isEqualToNumber(const NSNumber* other) const {
  if (!other) return false;
  if (isReal() || other->isReal()) return doubleValue() == other->doubleValue();
  // Compare integers exactly, across signedness: a negative value equals no unsigned one.
  auto wide = [](const Value& value) -> std::pair<bool, uint64_t> {
    return std::visit(Overloaded{[](uint64_t v) {
                                   return std::pair{false, v};
                                 },
                                 [](double v) {
                                   return std::pair{v < 0, uint64_t(v)};
                                 },
                                 [](auto v) {
                                   auto s = static_cast<int64_t>(v);
                                   return std::pair{s < 0, static_cast<uint64_t>(s)};
                                 }},
                      value);
  };
  return wide(value_) == wide(other->value_);
}

std::string NSNumber::stringValue() const {
  char text[64];
  auto end = std::visit(
      [&](auto value) {
        if constexpr (std::is_same_v<decltype(value), bool>) {
          return std::to_chars(text, text + sizeof text, value ? 1 : 0);
        } else {
          return std::to_chars(text, text + sizeof text, value);
        }
      },
      value_);
  return std::string(text, end.ptr);
}
