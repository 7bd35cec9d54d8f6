#pragma once

#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/result.h"

// The device's settings file, edited the way the settings bundle edits it: read whole, written
// whole and atomically, then the reload notification posted.
namespace settings_file {

enum class ValueType { boolean, number, string };
std::string_view nameOf(ValueType type);
std::optional<ValueType> typeNamed(std::string_view name);

// The type the library reads a key as, or none for a key it does not know.
std::optional<ValueType> knownType(std::string_view key);
// The type of a stored value (none for other property-list types).
std::optional<ValueType> typeOf(const NSObject* value);

// Why text cannot be a key or a string of the settings file, for the user; none when it can.
// The file is XML, which holds only UTF-8 and, of the control characters, tab and line breaks:
// a file with others is not XML, and a strict reader refuses all of it.
std::optional<std::string> unstorableText(std::string_view text);
// Parses text as a value of the type; the failure says why, in words for the user.
Result<Ref<NSObject>> parseValue(std::string_view text, ValueType type);
// The type a value's text suggests: true/false/yes/no are booleans, decimals numbers, the rest
// strings.
ValueType inferType(std::string_view text);
// How `get` and `list` print a value.
std::string format(const NSObject* value);

// Where the file lies on this device.
std::filesystem::path path();
// The settings: empty when there is no file; a failure (nothing may be written then) when the
// file exists but cannot be read.
Result<Ref<NSMutableDictionary>> read();
// One line on standard error when the file exists but cannot be read: the library then takes
// none of the settings, which a picture would otherwise show without a word.
void warnWhenUnreadable();
// Why nothing may be written while the file exists but cannot be read, for the user.
std::string unreadable(const std::string& reason);
// Replaces the settings (atomically, under the lock that the device's writers share) and posts
// "com.wyndle.vitrel3dtouch/reloadPrefs".
Result<void> write(const NSDictionary* settings);
// Reads the settings, lets `change` edit them and writes them back as `write` does, holding
// the writers' lock from the read to the write, so that no other writer's edit in between is
// lost. Refused, with nothing written, when the file exists but cannot be read. Failures are
// sentences for the user.
Result<void> edit(const std::function<void(NSMutableDictionary&)>& change);

}  // namespace settings_file
