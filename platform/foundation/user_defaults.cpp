#include "platform/foundation/user_defaults.h"

#include "platform/foundation/device.h"
#include "platform/foundation/file_lock.h"
#include "platform/foundation/internal/class_definitions.h"
#include "platform/foundation/log.h"
#include "platform/foundation/property_list.h"
#include "platform/foundation/value_conversion.h"

Ref<NSUserDefaults> NSUserDefaults::initWithSuiteName(std::string suite) {
  auto defaults = objc::make<NSUserDefaults>();
  defaults->openSuite(std::move(suite));
  return defaults;
}

void NSUserDefaults::openSuite(std::string suite) {
  suite_ = std::move(suite);
  registered_ = NSMutableDictionary::from({});
}

std::filesystem::path NSUserDefaults::path() const {
  std::filesystem::path root = device::directory().value_or("/");
  return root / "var/jb/var/mobile/Library/Preferences" / (suite_ + ".plist");
}

void NSUserDefaults::registerDefaults(const NSDictionary* defaults) {
  if (!defaults) return;
  std::lock_guard lock(mutex_);
  for (const auto& [key, value] : defaults->entries())
    registered_->setObject(key, value);
}

Ref<NSDictionary> NSUserDefaults::stored() const {
  return dictionaryWithContentsOfFile(path());
}

Ref<NSObject> NSUserDefaults::objectForKey(std::string_view key) const {
  if (Ref<NSDictionary> domain = stored()) {
    if (Ref<NSObject> value = domain->objectForKey(key)) return value;
  }
  std::lock_guard lock(mutex_);
  return registered_->objectForKey(key);
}

Ref<NSString> NSUserDefaults::stringForKey(std::string_view key) const {
  Ref<NSObject> value = objectForKey(key);
  return Ref<NSString>(dynamic_cast<NSString*>(value.get()));
}

bool NSUserDefaults::boolForKey(std::string_view key) const {
  return boolValueOf(objectForKey(key).get());
}

double NSUserDefaults::doubleForKey(std::string_view key) const {
  return doubleValueOf(objectForKey(key).get());
}

bool NSUserDefaults::setObject(std::string_view key, Ref<NSObject> value) {
  std::lock_guard lock(mutex_);
  std::error_code error;
  std::filesystem::create_directories(path().parent_path(), error);
  // Other processes write the same domain: the read and the write are one step for them too.
  Result<FileLock> fileLock = FileLock::acquire(path());
  if (!fileLock) {
    NSLog("NSUserDefaults %s: %s", suite_, fileLock.error());
    return false;
  }
  auto domain = NSMutableDictionary::mutableCopyOf(stored().get());
  domain->setObject(key, std::move(value));
  auto written = writePropertyListAtomically(domain.get(), path());
  if (!written) NSLog("NSUserDefaults %s: %s", suite_, written.error());
  return written.ok();
}

namespace foundation_classes {
void defineUserDefaults(objc::Class*) {
  objc::defineClass<NSUserDefaults, NSObject>("NSUserDefaults");
}
}  // namespace foundation_classes
