#pragma once

#include <filesystem>

#include "platform/foundation/ns_dictionary.h"
#include "platform/foundation/result.h"
#include "platform/preferences/framework/page_item.h"

// The settings file the pages edit and the library reads: read afresh on every call, never
// cached, and replaced whole and atomically on every write.
namespace settings_store {

// The settings file, resolved through the device's root path.
std::filesystem::path settingsFile();

// The settings as stored now; nil when the file is missing or unreadable.
Ref<NSDictionary> currentSettings();

// Whether a row is shown under the current settings: hidden when its "depends" setting is not
// true, when its "dependsNot" setting is true, when it is "labelDependant" and both
// "hideLabels" and "dockHideLabels" are true, and for the colour rows of a mode that is
// "none" (a missing "regularMode" counts as "none", a missing "notificationMode" does not).
bool isSpecifierVisible(const PSSpecifier* specifier);

// The stored value under the row's "key", unconverted; else the row's "default" (or nil).
Ref<NSObject> readPreferenceValue(const PSSpecifier* specifier);

// Stores value under the row's "key" (nil removes it), rewriting the whole file atomically
// under the lock "<file>.lock" that every writer of the file takes, then posts the row's
// "PostNotification", if any. A missing file is created with this key alone. Refused, with the file
// untouched and nothing posted, for a row without "key" and when the existing file cannot be read
// (so that the other settings are never lost); a failed write posts nothing either. Failures are
// logged.
Result<void> setPreferenceValue(NSObject* value, const PSSpecifier* specifier);

}  // namespace settings_store
