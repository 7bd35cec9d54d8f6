// Linked only into the library's test variant: lets tests read the settings and the menu state
// the library holds, which the real library keeps to itself.

#include <string>

#include "platform/foundation/log.h"
#include "source/menu/menu_state.h"
#include "source/settings/settings.h"

namespace {

std::string describeSettings() {
  const Settings& current = settings();
  std::string text;
  for (const SettingField& entry : kSettingFields) {
    std::visit(
        [&](auto field) {
          text.append(" ").append(entry.key).append("=");
          const auto& value = current.*field;
          if constexpr (std::is_same_v<std::decay_t<decltype(value)>, Ref<NSString>>) {
            text += value ? "\"" + value->string() + "\"" : "nil";
          } else {
            text += formatLog("%g", {static_cast<double>(value)});
          }
        },
        entry.field);
  }
  return text;
}

void logSettings(CFNotificationCenterRef, void*, CFNotificationName, const void*, CFDictionaryRef) {
  logLine("vitrel-testing: settings" + describeSettings());
}

// Registered after the library's own observer, so it runs after loadPrefs on each reload.
__attribute__((constructor)) void observeReloads() {
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr, logSettings,
                                  CFSTR(kReloadPrefsNotification), nullptr,
                                  CFNotificationSuspensionBehaviorCoalesce);
}

}  // namespace

extern "C" {

const Settings* vitrelTestingSettings() {
  return &settings();
}

const MenuState* vitrelTestingMenuState() {
  return &menuState();
}

void vitrelTestingSettingsFilePath(std::string* path) {
  *path = settingsFilePath();
}

void vitrelTestingGetNSString(NSString* key, NSString* fallback, Ref<NSObject>* result) {
  *result = GetNSString(key, fallback);
}

}  // extern "C"
