#include "settings_probe.h"

#include "support/injected_host.h"

SettingsProbe::SettingsProbe(void* library)
    : settings_(reinterpret_cast<SettingsFunction>(
          injected_host::symbol(library, "vitrelTestingSettings"))),
      path_(reinterpret_cast<PathFunction>(
          injected_host::symbol(library, "vitrelTestingSettingsFilePath"))),
      lookup_(reinterpret_cast<LookupFunction>(
          injected_host::symbol(library, "vitrelTestingGetNSString"))),
      menuState_(reinterpret_cast<MenuStateFunction>(
          injected_host::symbol(library, "vitrelTestingMenuState"))) {}

std::string SettingsProbe::settingsFilePath() const {
  std::string path;
  path_(&path);
  return path;
}

Ref<NSObject> SettingsProbe::GetNSString(const char* key, const char* fallback) const {
  Ref<NSObject> result;
  lookup_(NSString::from(key).get(), NSString::from(fallback).get(), &result);
  return result;
}
