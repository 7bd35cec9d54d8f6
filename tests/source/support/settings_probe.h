#pragma once

#include <string>

#include "source/menu/menu_state.h"
#include "source/settings/settings.h"

// The probe the library's test variant exports, resolved after loading it.
struct SettingsProbe {
  using SettingsFunction = const Settings* (*)();
  using PathFunction = void (*)(std::string*);
  using LookupFunction = void (*)(NSString*, NSString*, Ref<NSObject>*);
  using MenuStateFunction = const MenuState* (*)();

  explicit SettingsProbe(void* library);

  const Settings& settings() const { return *settings_(); }
  const MenuState& menuState() const { return *menuState_(); }
  std::string settingsFilePath() const;
  Ref<NSObject> GetNSString(const char* key, const char* fallback) const;

 private:
  SettingsFunction settings_;
  PathFunction path_;
  LookupFunction lookup_;
  MenuStateFunction menuState_;
};
