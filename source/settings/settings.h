#pragma once

#include <string>

#include "platform/foundation/darwin_notify.h"
#include "source/settings/settings_keys.h"

// The settings as last loaded.
const Settings& settings();

// Where the settings file lies on this device (resolved through the root-path functions).
std::string settingsFilePath();

// Re-reads the settings file into settings(): a boolean or number key keeps its value when the
// file lacks it, a string key becomes nil, and `enabled` turns on; a missing or unreadable
// file changes nothing. Also
// the callback of the reload notification, whose arguments it ignores.
void loadPrefs(CFNotificationCenterRef center = nullptr, void* observer = nullptr,
               CFNotificationName name = nullptr, const void* object = nullptr,
               CFDictionaryRef userInfo = nullptr);

// The value stored under key in the settings file as it is now, or fallback when the file has
// no such key or cannot be read. Reads the file on every call; settings() is not touched.
Ref<NSObject> GetNSString(NSString* key, NSString* fallback);
