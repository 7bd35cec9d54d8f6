#include "settings_store.h"

#include <string_view>

#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/file_lock.h"
#include "platform/foundation/log.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/value_conversion.h"
#include "source/settings/root_path.h"

namespace settings_store {
namespace {

constexpr const char* kSettingsPath =
    "/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist";

// The boolean test of a setting: false for a missing file, a missing name or a false value.
bool isTrue(const NSDictionary* settings, const NSString* name) {
  if (!settings || !name) return false;
  return boolValueOf(settings->objectForKey(name->string()).get());
}

bool isTrue(const NSDictionary* settings, std::string_view name) {
  return settings && boolValueOf(settings->objectForKey(name).get());
}

bool equalsNone(const NSObject* value) {
  auto* text = dynamic_cast<const NSString*>(value);
  return text && text->string() == "none";
}

bool keyIsOneOf(const PSSpecifier* specifier, std::string_view first, std::string_view second) {
  Ref<NSString> key = specifier->properties()->objectForKey<NSString>("key");
  return key && (key->string() == first || key->string() == second);
}

template <class T>
Ref<T> property(const PSSpecifier* specifier, std::string_view name) {
  return specifier->properties()->objectForKey<T>(name);
}

// Reads, changes and replaces the file while holding the lock its other writers (the
// command line, another Settings) take, so that an edit of theirs between this read and this
// write is not undone.
Result<void> storeUnderLock(const std::string& key, NSObject* value) {
  std::filesystem::path file = settingsFile();
  std::error_code error;
  std::filesystem::create_directories(file.parent_path(), error);
  Result<FileLock> lock = FileLock::acquire(file);
  if (!lock.ok()) return Result<void>::failure(lock.error());
  Ref<NSMutableDictionary> settings = NSMutableDictionary::from({});
  if (std::filesystem::exists(file, error)) {
    Result<Ref<NSDictionary>> stored = readPropertyListDictionary(file);
    if (!stored.ok()) return Result<void>::failure(stored.error());
    settings = NSMutableDictionary::mutableCopyOf(stored.value().get());
  }
  settings->setObject(key, Ref<NSObject>(value));
  return writePropertyListAtomically(settings.get(), file);
}

}  // namespace

std::filesystem::path settingsFile() {
  char resolved[kRootPathBufferSize] = {};
  return libroot_dyn_jbrootpath(kSettingsPath, resolved);
}

Ref<NSDictionary> currentSettings() {
  return dictionaryWithContentsOfFile(settingsFile());
}

bool isSpecifierVisible(const PSSpecifier* specifier) {
  if (!specifier) return false;
  Ref<NSDictionary> settings = currentSettings();
  bool visible = true;
  if (specifier->properties()->objectForKey("depends") &&
      !isTrue(settings.get(), property<NSString>(specifier, "depends").get())) {
    visible = false;
  }
  if (specifier->properties()->objectForKey("dependsNot") &&
      isTrue(settings.get(), property<NSString>(specifier, "dependsNot").get())) {
    visible = false;
  }
  if (specifier->properties()->objectForKey("labelDependant") &&
      isTrue(settings.get(), "hideLabels") && isTrue(settings.get(), "dockHideLabels")) {
    visible = false;
  }
  Ref<NSObject> regularMode = settings ? settings->objectForKey("regularMode") : nullptr;
  if ((!regularMode || equalsNone(regularMode.get())) &&
      keyIsOneOf(specifier, "regularAutoColor", "regularColor")) {
    visible = false;
  }
  Ref<NSObject> notificationMode = settings ? settings->objectForKey("notificationMode") : nullptr;
  if (equalsNone(notificationMode.get()) &&
      keyIsOneOf(specifier, "notificationAutoColor", "notificationColor")) {
    visible = false;
  }
  return visible;
}

Ref<NSObject> readPreferenceValue(const PSSpecifier* specifier) {
  if (!specifier) return nullptr;
  Ref<NSString> key = property<NSString>(specifier, "key");
  Ref<NSDictionary> settings = currentSettings();
  if (key && settings) {
    if (Ref<NSObject> stored = settings->objectForKey(key->string())) return stored;
  }
  return specifier->properties()->objectForKey("default");
}

Result<void> setPreferenceValue(NSObject* value, const PSSpecifier* specifier) {
  auto refuse = [](const std::string& reason) {
    NSLog("settings not written: %s", reason);
    return Result<void>::failure(reason);
  };
  Ref<NSString> key = specifier ? property<NSString>(specifier, "key") : nullptr;
  if (!key) return refuse("the row names no key");
  Result<void> written = storeUnderLock(key->string(), value);
  if (!written.ok()) return refuse(written.error());
  Ref<NSString> notification = property<NSString>(specifier, "PostNotification");
  if (notification && notification->length() > 0) {
    CFNotificationCenterPostNotification(CFNotificationCenterGetDarwinNotifyCenter(),
                                         notification.get(), nullptr, nullptr, true);
  }
  return {};
}

}  // namespace settings_store
