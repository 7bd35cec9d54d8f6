#include "source/colorizer/tavrel2_prefs_manager.h"

#include <mutex>

#include "platform/foundation/dispatch.h"
#include "platform/foundation/notification_center.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/value_conversion.h"

namespace {

Ref<NSObject> yes(bool value) {
  return NSNumber::numberWithBool(value);
}
Ref<NSObject> number(long long value) {
  return NSNumber::numberWithLongLong(value);
}
Ref<NSObject> text(const char* value) {
  return NSString::from(value);
}

// The class exists once something uses the manager, not from load.
void defineClass() {
  static dispatch_once_t once;
  dispatch_once(
      &once, [] { objc::defineClass<Tavrel2PrefsManager, NSUserDefaults>("Tavrel2PrefsManager"); });
}

}  // namespace

Ref<NSDictionary> Tavrel2PrefsManager::registeredDefaults() {
  return NSDictionary::from({
      {"enabled", yes(true)},
      {"appearance", text("default")},
      {"appIconHidden", yes(false)},
      {"appIconCornerRadiusCircle", yes(false)},
      {"backgroundBlurHidden", yes(false)},
      {"stackDimmingViewHidden", yes(false)},
      {"cornerRadiusEnabled", yes(false)},
      {"cornerRadiusCustom", number(19)},
      {"backgroundEnabled", yes(false)},
      {"backgroundType", text("icon")},
      {"backgroundGradientDirection", text("right")},
      {"backgroundIconAlpha", number(50)},
      {"borderEnabled", yes(false)},
      {"borderType", text("icon")},
      {"borderGradientDirection", text("right")},
      {"borderIconAlpha", number(100)},
      {"borderWidth", number(2)},
      {"shadowEnabled", yes(false)},
      {"shadowType", text("icon")},
      {"shadowIconAlpha", number(100)},
      {"shadowWidth", number(5)},
      {"lineEnabled", yes(false)},
      {"lineType", text("icon")},
      {"lineGradientDirection", text("right")},
      {"lineIconAlpha", number(100)},
      {"linePosition", text("left")},
      {"lineWidth", number(3)},
      {"titleEnabled", yes(false)},
      {"titleType", text("icon")},
      {"titleGradientDirection", text("right")},
      {"titleIconAlpha", number(100)},
      {"messageEnabled", yes(false)},
      {"messageType", text("icon")},
      {"messageGradientDirection", text("right")},
      {"messageIconAlpha", number(100)},
      {"dateEnabled", yes(false)},
      {"dateType", text("icon")},
      {"dateGradientDirection", text("right")},
      {"dateIconAlpha", number(100)},
  });
}

Tavrel2PrefsManager* Tavrel2PrefsManager::sharedInstance() {
  static dispatch_once_t once;
  static Tavrel2PrefsManager* shared = nullptr;
  dispatch_once(&once, [] {
    // Kept for the life of the process, as the platform's shared instances are.
    shared = initWithSuiteName(std::string(kSuiteName)).leak();
  });
  return shared;
}

Ref<Tavrel2PrefsManager> Tavrel2PrefsManager::initWithSuiteName(std::string suite) {
  defineClass();
  auto manager = objc::make<Tavrel2PrefsManager>();
  manager->openSuite(std::move(suite));
  manager->registerDefaults(registeredDefaults().get());
  CFNotificationCenterAddObserver(CFNotificationCenterGetDarwinNotifyCenter(), nullptr,
                                  sendUpdateNotification, CFSTR(kPreferenceUpdateNotification),
                                  nullptr, CFNotificationSuspensionBehaviorCoalesce);
  return manager;
}

Ref<NSObject> Tavrel2PrefsManager::settingForKey(std::string_view key,
                                                 const NSString* identifier) const {
  if (identifier) {
    std::string perApp = std::string(key) + "_" + identifier->string();
    if (Ref<NSObject> value = objectForKey(perApp)) return value;
  }
  return objectForKey(key);
}

Ref<UIColor> Tavrel2PrefsManager::colorForKey(std::string_view key,
                                              const NSString* identifier) const {
  Ref<NSObject> value = settingForKey(key, identifier);
  return UIColor::colorFromP3String(dynamic_cast<const NSString*>(value.get()));
}

double Tavrel2PrefsManager::alphaValueForKey(std::string_view key,
                                             const NSString* identifier) const {
  return floatValueOf(settingForKey(key, identifier).get()) / 100.0;
}

void sendUpdateNotification(CFNotificationCenterRef, void*, CFNotificationName, const void*,
                            CFDictionaryRef) {
  NSNotificationCenter::defaultCenter()->postNotificationName(
      Tavrel2PrefsManager::kUpdateStyleNotification, nullptr);
}
