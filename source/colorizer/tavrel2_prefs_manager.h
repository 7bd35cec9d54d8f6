#pragma once

#include <string>
#include <string_view>

#include "platform/foundation/darwin_notify.h"
#include "platform/foundation/user_defaults.h"
#include "platform/graphics/ui_color.h"

// `Tavrel2` names the colorizer's classes, domain and notifications, shared with other
// processes: see "Names that cannot change" in the README.

// The per-app styling settings of notification views, in the domain "com.brackwood.tavrel2":
// a value stored for an app ("key_identifier") wins over the plain key, which falls back to
// the registered defaults. One shared instance per process.
class Tavrel2PrefsManager : public NSUserDefaults {
 public:
  static constexpr std::string_view kSuiteName = "com.brackwood.tavrel2";
  static constexpr std::string_view kPreferenceUpdateNotification =
      "com.brackwood.tavrel2/preferenceUpdate";
  static constexpr std::string_view kUpdateStyleNotification = "com.brackwood.tavrel2/updateStyle";

  // Made on first call, exactly once even when first calls race.
  static Tavrel2PrefsManager* sharedInstance();
  // Opens the domain, registers the defaults and observes the preference-update notification.
  static Ref<Tavrel2PrefsManager> initWithSuiteName(std::string suite);

  // The registered defaults: the 39 keys with their values.
  static Ref<NSDictionary> registeredDefaults();

  // The value stored for the app (identifier may be nil), else the plain key's, else nil.
  Ref<NSObject> settingForKey(std::string_view key, const NSString* identifier) const;
  // That value read as a Display P3 colour string; nil when absent or unreadable.
  Ref<UIColor> colorForKey(std::string_view key, const NSString* identifier) const;
  // That value's float value as a percentage: 50 → 0.5; 0 when absent.
  double alphaValueForKey(std::string_view key, const NSString* identifier) const;
};

// The preference-update notification's callback: posts "com.brackwood.tavrel2/updateStyle"
// with no object in this process, so styled views can restyle themselves.
void sendUpdateNotification(CFNotificationCenterRef center = nullptr, void* observer = nullptr,
                            CFNotificationName name = nullptr, const void* object = nullptr,
                            CFDictionaryRef userInfo = nullptr);
