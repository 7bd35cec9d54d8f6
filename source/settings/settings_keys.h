#pragma once

#include <array>
#include <string_view>
#include <variant>

#include "platform/foundation/ns_string.h"

// `HS` and `LS` in keys mean home screen and lock screen; keys are the stored file's: see
// "Names that cannot change" in the README.

// The user's settings, one field per key of the settings file, named after the key. Booleans
// are one byte, numbers 32-bit floats (points for lengths and radii), strings the string
// objects themselves (nil when absent). Everything starts false, 0 and nil but the master
// switch; only loadPrefs() writes them, on the main thread, where every hook reads them.
struct Settings {
  // The master switch: off, every hook leaves the host's work as it is. On unless the file
  // says otherwise, since files written before the switch counted lack it.
  bool enabled = true;
  bool elegantBorder = false;
  float cornerRadius = 0;
  bool renderMode = false;
  bool renderModeLS = false;
  bool fuckSep = false;
  bool dynamicLabelColoring = false;
  float septhickness = 0;
  float sepWidth = 0;
  float borderThicknessHS = 0;
  float borderThicknessLS = 0;
  Ref<NSString> titlesToRemove;
  bool autoBackgroundColor = false;
  bool LSautoBackgroundColor = false;
  bool LSdynamicLabelColoring = false;
  bool LSfuckSep = false;
  float LSsepthickness = 0;
  float LSsepWidth = 0;
  float LScornerRadius = 0;
  bool LSelegantBorder = false;
  bool dynamicHeaderTitleLSColoring = false;
  bool dynamicMessageLSColoring = false;
  bool colorExpanded3DBackground = false;
  bool dynamicSepLSColoring = false;
  bool colorLSBoldSeparators = false;
  bool colorLSThinSeparators = false;
  bool colorHSBoldSeparators = false;
  bool colorHSThinSeparators = false;
  bool LSapplySepThickness = false;
  bool LSapplySepWidth = false;
  bool HSapplySepThickness = false;
  bool HSapplySepWidth = false;
  bool hideHSThinSep = false;
  bool hideHSBoldSep = false;
  Ref<NSString> colorMethodTavrel;
  Ref<NSString> colorMethodTavrelHS;
};

// A key of the settings file and the field it fills; the field's type is the key's type.
struct SettingField {
  std::string_view key;
  std::variant<bool Settings::*, float Settings::*, Ref<NSString> Settings::*> field;
};

// Every key, in the order loadPrefs() reads them.
inline constexpr std::array<SettingField, 36> kSettingFields{{
    {"enabled", &Settings::enabled},
    {"elegantBorder", &Settings::elegantBorder},
    {"cornerRadius", &Settings::cornerRadius},
    {"renderMode", &Settings::renderMode},
    {"renderModeLS", &Settings::renderModeLS},
    {"fuckSep", &Settings::fuckSep},
    {"dynamicLabelColoring", &Settings::dynamicLabelColoring},
    {"septhickness", &Settings::septhickness},
    {"sepWidth", &Settings::sepWidth},
    {"borderThicknessHS", &Settings::borderThicknessHS},
    {"borderThicknessLS", &Settings::borderThicknessLS},
    {"titlesToRemove", &Settings::titlesToRemove},
    {"autoBackgroundColor", &Settings::autoBackgroundColor},
    {"LSautoBackgroundColor", &Settings::LSautoBackgroundColor},
    {"LSdynamicLabelColoring", &Settings::LSdynamicLabelColoring},
    {"LSfuckSep", &Settings::LSfuckSep},
    {"LSsepthickness", &Settings::LSsepthickness},
    {"LSsepWidth", &Settings::LSsepWidth},
    {"LScornerRadius", &Settings::LScornerRadius},
    {"LSelegantBorder", &Settings::LSelegantBorder},
    {"dynamicHeaderTitleLSColoring", &Settings::dynamicHeaderTitleLSColoring},
    {"dynamicMessageLSColoring", &Settings::dynamicMessageLSColoring},
    {"colorExpanded3DBackground", &Settings::colorExpanded3DBackground},
    {"dynamicSepLSColoring", &Settings::dynamicSepLSColoring},
    {"colorLSBoldSeparators", &Settings::colorLSBoldSeparators},
    {"colorLSThinSeparators", &Settings::colorLSThinSeparators},
    {"colorHSBoldSeparators", &Settings::colorHSBoldSeparators},
    {"colorHSThinSeparators", &Settings::colorHSThinSeparators},
    {"LSapplySepThickness", &Settings::LSapplySepThickness},
    {"LSapplySepWidth", &Settings::LSapplySepWidth},
    {"HSapplySepThickness", &Settings::HSapplySepThickness},
    {"HSapplySepWidth", &Settings::HSapplySepWidth},
    {"hideHSThinSep", &Settings::hideHSThinSep},
    {"hideHSBoldSep", &Settings::hideHSBoldSep},
    {"colorMethodTavrel", &Settings::colorMethodTavrel},
    {"colorMethodTavrelHS", &Settings::colorMethodTavrelHS},
}};

// The settings file, before root resolution, and the notification that asks for a reload.
inline constexpr std::string_view kSettingsFile =
    "/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist";
inline constexpr std::string_view kReloadPrefsNotification = "com.wyndle.vitrel3dtouch/reloadPrefs";
