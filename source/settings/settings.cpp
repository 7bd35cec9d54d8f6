#include "source/settings/settings.h"

#include "platform/foundation/property_list.h"
#include "platform/foundation/value_conversion.h"
#include "source/settings/root_path.h"

namespace {

Settings loaded;

}  // namespace

const Settings& settings() {
  return loaded;
}

std::string settingsFilePath() {
  char resolved[kRootPathBufferSize];
  const char* path = libroot_dyn_jbrootpath(std::string(kSettingsFile).c_str(), resolved);
  return path ? path : std::string(kSettingsFile);
}

void loadPrefs(CFNotificationCenterRef, void*, CFNotificationName, const void*, CFDictionaryRef) {
  Ref<NSDictionary> file = dictionaryWithContentsOfFile(settingsFilePath());
  if (!file) return;
  for (const SettingField& entry : kSettingFields) {
    Ref<NSObject> value = file->objectForKey(entry.key);
    std::visit(
        [&](auto field) {
          using Type = std::remove_reference_t<decltype(loaded.*field)>;
          if constexpr (std::is_same_v<Type, bool>) {
            if (value) loaded.*field = boolValueOf(value.get());
          } else if constexpr (std::is_same_v<Type, float>) {
            if (value) loaded.*field = floatValueOf(value.get());
          } else {
            // Strings are taken as they are, so a key the file lacks becomes nil; a value
            // that is not a string reads as nil too.
            loaded.*field = Ref<NSString>(dynamic_cast<NSString*>(value.get()));
          }
        },
        entry.field);
  }
  if (!file->objectForKey("enabled")) loaded.enabled = true;
}

Ref<NSObject> GetNSString(NSString* key, NSString* fallback) {
  Ref<NSDictionary> file = dictionaryWithContentsOfFile(settingsFilePath());
  Ref<NSObject> value = file && key ? file->objectForKey(key->string()) : nullptr;
  return value ? value : Ref<NSObject>(fallback);
}
