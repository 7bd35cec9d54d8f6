#include "platform/foundation/key_value_coding.h"

#include <cctype>
#include <string>

#include "platform/foundation/internal/class_definitions.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/ns_string.h"
#include "platform/foundation/value_conversion.h"

namespace {

using objc::msgSend;

std::string capitalized(std::string_view key) {
  std::string text(key);
  if (!text.empty()) text[0] = static_cast<char>(std::toupper(static_cast<unsigned char>(text[0])));
  return text;
}

// The encoding token of one position of a method's type (0 = result, 3 = first argument).
std::string typeAt(const objc::Method* method, size_t position) {
  auto tokens = objc::splitEncoding(method->imp.encoding());
  return tokens && tokens->size() > position ? (*tokens)[position] : std::string();
}

[[noreturn]] void throwUnknownKey(const NSObject* object, const char* accessor,
                                  std::string_view key) {
  throw objc::Exception("NSUnknownKeyException",
                        "[" + defaultDescription(object) + " " + accessor +
                            "]: this class is not key value coding-compliant for the key " +
                            std::string(key) + ".");
}

[[noreturn]] void throwUnsupported(const NSObject* object, std::string_view key,
                                   const std::string& type) {
  throw objc::Exception("NSInvalidArgumentException", defaultDescription(object) + ": key " +
                                                          std::string(key) + " has type " + type +
                                                          ", which key-value coding cannot box");
}

void storeValue(NSObject* self, NSObject* value, std::string_view key) {
  SEL setter = objc::sel("set" + capitalized(key) + ":");
  const objc::Method* method = self->isa()->lookup(setter);
  if (!method) throwUnknownKey(self, "setValue:forUndefinedKey:", key);
  std::string type = typeAt(method, 3);
  if (type == "@") return msgSend<void>(self, setter, value);
  if (!value) {
    throw objc::Exception("NSInvalidArgumentException",
                          defaultDescription(self) +
                              " setNilValueForKey: could not set nil as "
                              "the value for the key " +
                              std::string(key) + ".");
  }
  if (type == "B") return msgSend<void>(self, setter, boolValueOf(value));
  if (type == "i") return msgSend<void>(self, setter, static_cast<int>(longLongValueOf(value)));
  if (type == "I") {
    return msgSend<void>(self, setter, static_cast<unsigned>(longLongValueOf(value)));
  }
  if (type == "q") return msgSend<void>(self, setter, static_cast<long>(longLongValueOf(value)));
  if (type == "Q") {
    return msgSend<void>(self, setter, static_cast<unsigned long>(longLongValueOf(value)));
  }
  if (type == "f") return msgSend<void>(self, setter, floatValueOf(value));
  if (type == "d") return msgSend<void>(self, setter, doubleValueOf(value));
  throwUnsupported(self, key, type);
}

Ref<NSObject> fetchValue(NSObject* self, std::string_view key) {
  SEL getter = objc::sel(key);
  const objc::Method* method = self->isa()->lookup(getter);
  if (!method) {
    getter = objc::sel("is" + capitalized(key));
    method = self->isa()->lookup(getter);
  }
  if (!method) throwUnknownKey(self, "valueForUndefinedKey:", key);
  std::string type = typeAt(method, 0);
  if (type == "@") return msgSend<Ref<NSObject>>(self, getter);
  if (type == "B") return NSNumber::numberWithBool(msgSend<bool>(self, getter));
  if (type == "i") return NSNumber::numberWithLongLong(msgSend<int>(self, getter));
  if (type == "I") return NSNumber::numberWithLongLong(msgSend<unsigned>(self, getter));
  if (type == "q") return NSNumber::numberWithLongLong(msgSend<long>(self, getter));
  if (type == "Q")
    return NSNumber::numberWithUnsignedLongLong(msgSend<unsigned long>(self, getter));
  if (type == "f") return NSNumber::numberWithDouble(msgSend<float>(self, getter));
  if (type == "d") return NSNumber::numberWithDouble(msgSend<double>(self, getter));
  throwUnsupported(self, key, type);
}

}  // namespace

void setValueForKey(NSObject* object, NSObject* value, std::string_view key) {
  msgSend<void>(object, objc::sel("setValue:forKey:"), value, NSString::from(std::string(key)));
}

Ref<NSObject> valueForKey(NSObject* object, std::string_view key) {
  return msgSend<Ref<NSObject>>(object, objc::sel("valueForKey:"),
                                NSString::from(std::string(key)));
}

namespace foundation_classes {

void defineKeyValueCoding(objc::Class* root) {
  objc::addMethod(root,
                  "setValue:forKey:", [](NSObject* self, SEL, NSObject* value, NSString* key) {
                    storeValue(self, value, key ? key->string() : std::string());
                  });
  objc::addMethod(root, "valueForKey:", [](NSObject* self, SEL, NSString* key) {
    return fetchValue(self, key ? key->string() : std::string());
  });
}

}  // namespace foundation_classes
