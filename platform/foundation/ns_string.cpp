#include "platform/foundation/ns_string.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <mutex>
#include <unordered_map>

#include "platform/runtime/no_destructor.h"

namespace {

bool isSpace(char c) {
  return std::isspace(static_cast<unsigned char>(c)) != 0;
}
bool isDigit(char c) {
  return c >= '0' && c <= '9';
}

std::string_view skipSpace(std::string_view text) {
  while (!text.empty() && isSpace(text.front()))
    text.remove_prefix(1);
  return text;
}

// The longest prefix of `text` that is a decimal floating-point number, or "".
std::string_view decimalPrefix(std::string_view text) {
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  size_t digits = 0;
  while (i < text.size() && isDigit(text[i]))
    ++i, ++digits;
  if (i < text.size() && text[i] == '.') {
    ++i;
    while (i < text.size() && isDigit(text[i]))
      ++i, ++digits;
  }
  if (digits == 0) return {};
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    size_t exponent = i + 1;
    if (exponent < text.size() && (text[exponent] == '+' || text[exponent] == '-')) ++exponent;
    size_t start = exponent;
    while (exponent < text.size() && isDigit(text[exponent]))
      ++exponent;
    if (exponent > start) i = exponent;
  }
  return text.substr(0, i);
}

}  // namespace

Ref<NSString> NSString::from(std::string text) {
  auto string = objc::make<NSString>();
  string->text_ = std::move(text);
  return string;
}

std::vector<std::string> NSString::componentsSeparatedByString(std::string_view separator) const {
  std::vector<std::string> parts;
  if (separator.empty()) return {text_};
  size_t start = 0;
  for (size_t found; (found = text_.find(separator, start)) != std::string::npos;) {
    parts.push_back(text_.substr(start, found - start));
    start = found + separator.size();
  }
  parts.push_back(text_.substr(start));
  return parts;
}

bool NSString::boolValue() const {
  std::string_view text = skipSpace(text_);
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) text.remove_prefix(1);
  while (!text.empty() && text.front() == '0')
    text.remove_prefix(1);
  if (text.empty()) return false;
  char c = text.front();
  return c == 'Y' || c == 'y' || c == 'T' || c == 't' || (c >= '1' && c <= '9');
}

double NSString::doubleValue() const {
  std::string number(decimalPrefix(skipSpace(text_)));
  if (number.empty()) return 0.0;
  // strtod gives ±HUGE_VAL on overflow, as the platform does.
  return std::strtod(number.c_str(), nullptr);
}

int64_t NSString::longLongValue() const {
  std::string_view text = skipSpace(text_);
  size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
  while (i < text.size() && isDigit(text[i]))
    ++i;
  std::string number(text.substr(0, i));
  errno = 0;
  return number.empty() ? 0 : std::strtoll(number.c_str(), nullptr, 10);
}

CFStringRef CFSTR(std::string_view literal) {
  static std::mutex mutex;
  static objc::NoDestructor<std::unordered_map<std::string, Ref<NSString>>> literals;
  std::lock_guard lock(mutex);
  auto [slot, inserted] = literals->try_emplace(std::string(literal));
  if (inserted) slot->second = NSString::from(std::string(literal));
  return slot->second.get();
}
