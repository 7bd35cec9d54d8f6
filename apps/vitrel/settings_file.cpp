#include "apps/vitrel/settings_file.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <iostream>
#include <system_error>

#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/file_lock.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/libroot/libroot.h"
#include "source/settings/settings_keys.h"

namespace settings_file {
namespace {

std::string lowercase(std::string_view text) {
  std::string result(text);
  std::transform(result.begin(), result.end(), result.begin(),
                 [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  return result;
}

std::optional<bool> parseBoolean(std::string_view text) {
  std::string word = lowercase(text);
  if (word == "true" || word == "yes" || word == "on" || word == "1") return true;
  if (word == "false" || word == "no" || word == "off" || word == "0") return false;
  return std::nullopt;
}

std::optional<double> parseNumber(std::string_view text) {
  double value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
    return std::nullopt;
  }
  return value;
}

// The length of the UTF-8 sequence at the start of text, 0 when it is not one (overlong,
// a surrogate, beyond U+10FFFF or cut short).
size_t utf8Sequence(std::string_view text) {
  const auto byte = [&text](size_t at) { return static_cast<unsigned char>(text[at]); };
  const unsigned char lead = byte(0);
  if (lead < 0x80) return 1;
  const size_t length = lead >= 0xF8   ? 0
                        : lead >= 0xF0 ? 4
                        : lead >= 0xE0 ? 3
                        : lead >= 0xC0 ? 2
                                       : 0;
  if (length == 0 || text.size() < length) return 0;
  char32_t code = lead & (0x7F >> length);
  for (size_t at = 1; at < length; ++at) {
    if ((byte(at) & 0xC0) != 0x80) return 0;
    code = (code << 6) | (byte(at) & 0x3F);
  }
  constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (code < kSmallest[length] || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF)) return 0;
  return length;
}

}  // namespace

std::optional<std::string> unstorableText(std::string_view text) {
  for (size_t at = 0; at < text.size();) {
    const size_t length = utf8Sequence(text.substr(at));
    if (length == 0) return "it is not UTF-8 text";
    const unsigned char c = static_cast<unsigned char>(text[at]);
    if (c < 0x20 && c != '\t' && c != '\n' && c != '\r') {
      return "it holds a control character (only tab and line breaks may be stored)";
    }
    at += length;
  }
  return std::nullopt;
}

std::string_view nameOf(ValueType type) {
  switch (type) {
    case ValueType::boolean:
      return "bool";
    case ValueType::number:
      return "number";
    case ValueType::string:
      return "string";
  }
  return "string";
}

std::optional<ValueType> typeNamed(std::string_view name) {
  for (ValueType type : {ValueType::boolean, ValueType::number, ValueType::string}) {
    if (nameOf(type) == name) return type;
  }
  return std::nullopt;
}

std::optional<ValueType> knownType(std::string_view key) {
  for (const SettingField& entry : kSettingFields) {
    // The field types are declared in the order boolean, number, string, as ValueType is.
    if (entry.key == key) return static_cast<ValueType>(entry.field.index());
  }
  return std::nullopt;
}

std::optional<ValueType> typeOf(const NSObject* value) {
  if (auto* number = dynamic_cast<const NSNumber*>(value)) {
    return number->isBoolean() ? ValueType::boolean : ValueType::number;
  }
  if (dynamic_cast<const NSString*>(value)) return ValueType::string;
  return std::nullopt;
}

Result<Ref<NSObject>> parseValue(std::string_view text, ValueType type) {
  switch (type) {
    case ValueType::boolean:
      if (auto value = parseBoolean(text)) return Ref<NSObject>(NSNumber::numberWithBool(*value));
      return Result<Ref<NSObject>>::failure("\"" + std::string(text) +
                                            "\" is not a boolean (use true or false)");
    case ValueType::number:
      if (auto value = parseNumber(text)) return Ref<NSObject>(NSNumber::numberWithDouble(*value));
      return Result<Ref<NSObject>>::failure("\"" + std::string(text) +
                                            "\" is not a number (use a decimal such as 12.5)");
    case ValueType::string:
      if (auto refusal = unstorableText(text)) {
        return Result<Ref<NSObject>>::failure("the text cannot be stored: " + *refusal);
      }
      return Ref<NSObject>(NSString::from(std::string(text)));
  }
  return Result<Ref<NSObject>>::failure("unknown type");
}

ValueType inferType(std::string_view text) {
  if (parseBoolean(text) && !parseNumber(text)) return ValueType::boolean;
  if (parseNumber(text)) return ValueType::number;
  return ValueType::string;
}

std::string format(const NSObject* value) {
  if (auto* number = dynamic_cast<const NSNumber*>(value); number && number->isBoolean()) {
    return number->boolValue() ? "true" : "false";
  }
  return describe(value);
}

std::filesystem::path path() {
  char resolved[kRootPathBufferSize];
  const char* result = libroot_jbrootpath(std::string(kSettingsFile).c_str(), resolved);
  return result ? result : std::string(kSettingsFile);
}

Result<Ref<NSMutableDictionary>> read() {
  std::error_code error;
  if (!std::filesystem::exists(path(), error)) return NSMutableDictionary::from({});
  auto file = readPropertyListDictionary(path());
  if (!file) return Result<Ref<NSMutableDictionary>>::failure(file.error());
  return NSMutableDictionary::mutableCopyOf(file.value().get());
}

namespace {

Result<void> cannotWrite(const std::string& reason) {
  return Result<void>::failure("cannot write the settings: " + reason);
}

Result<FileLock> lockForWriting() {
  std::error_code error;
  std::filesystem::create_directories(path().parent_path(), error);
  if (error) {
    return Result<FileLock>::failure("cannot make " + path().parent_path().string() + ": " +
                                     error.message());
  }
  return FileLock::acquire(path());
}

// Holds the writers' lock while `work` runs, and posts the reload after it is released, so
// that the next writer does not wait for the notification's delivery.
Result<void> underLock(const std::function<Result<void>()>& work) {
  Result<void> written = [&] {
    Result<FileLock> lock = lockForWriting();
    return lock ? work() : cannotWrite(lock.error());
  }();
  if (written) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         CFSTR(kReloadPrefsNotification), nullptr, nullptr, true);
  }
  return written;
}

Result<void> replace(const NSDictionary* settings) {
  Result<void> written = writePropertyListAtomically(settings, path());
  return written ? written : cannotWrite(written.error());
}

}  // namespace

void warnWhenUnreadable() {
  if (auto stored = read(); !stored) {
    std::cerr << "vitrel: warning: the device's settings cannot be read (" << stored.error()
              << "); the library takes none of them\n";
  }
}

std::string unreadable(const std::string& reason) {
  return "the settings file cannot be read (" + reason +
         "); it is left as it is. `vitrel prefs reset` starts afresh.";
}

Result<void> write(const NSDictionary* settings) {
  return underLock([settings] { return replace(settings); });
}

Result<void> edit(const std::function<void(NSMutableDictionary&)>& change) {
  return underLock([&change]() -> Result<void> {
    auto settings = read();
    if (!settings) return Result<void>::failure(unreadable(settings.error()));
    change(*settings.value());
    return replace(settings.value().get());
  });
}

}  // namespace settings_file
