#include <algorithm>

#include "platform/foundation/internal/class_definitions.h"
#include "platform/foundation/ns_array.h"
#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/ns_string.h"

namespace {

std::string describeIndented(const NSObject* object, int level);

// Strings inside collections are quoted unless they are a plain word, as the platform prints.
std::string quotedIfNeeded(const std::string& text) {
  bool plain = !text.empty() && std::all_of(text.begin(), text.end(), [](char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::string_view("_.$/:-").find(c) != std::string_view::npos;
  });
  if (plain) return text;
  std::string quoted = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') quoted += '\\';
    if (c == '\n') {
      quoted += "\\n";
      continue;
    }
    quoted += c;
  }
  return quoted + "\"";
}

std::string indent(int level) {
  return std::string(4 * level, ' ');
}

std::string describeArray(const NSArray* array, int level) {
  if (array->count() == 0) return "(\n" + indent(level) + ")";
  std::string text = "(\n";
  for (size_t i = 0; i < array->count(); ++i) {
    text += indent(level + 1) + describeIndented(array->objects()[i].get(), level + 1);
    text += i + 1 < array->count() ? ",\n" : "\n";
  }
  return text + indent(level) + ")";
}

std::string describeDictionary(const NSDictionary* dictionary, int level) {
  std::string text = "{\n";
  for (const auto& [key, value] : dictionary->entries()) {
    text += indent(level + 1) + quotedIfNeeded(key) + " = " +
            describeIndented(value.get(), level + 1) + ";\n";
  }
  return text + indent(level) + "}";
}

std::string describeIndented(const NSObject* object, int level) {
  if (auto* array = dynamic_cast<const NSArray*>(object)) return describeArray(array, level);
  if (auto* dictionary = dynamic_cast<const NSDictionary*>(object)) {
    return describeDictionary(dictionary, level);
  }
  if (auto* string = dynamic_cast<const NSString*>(object)) return quotedIfNeeded(string->string());
  return describe(object);
}

}  // namespace

namespace foundation_classes {

void defineCollectionClasses(objc::Class*) {
  auto describeSelf = [](NSObject* self, SEL) { return NSString::from(describeIndented(self, 0)); };
  objc::addMethod(objc::defineClass<NSArray, NSObject>("NSArray"), "description", describeSelf);
  objc::defineClass<NSMutableArray, NSArray>("NSMutableArray");
  objc::addMethod(objc::defineClass<NSDictionary, NSObject>("NSDictionary"), "description",
                  describeSelf);
  objc::defineClass<NSMutableDictionary, NSDictionary>("NSMutableDictionary");
}

}  // namespace foundation_classes
