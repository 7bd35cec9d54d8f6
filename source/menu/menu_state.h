#pragma once

#include "platform/foundation/ns_string.h"
#include "platform/graphics/ui_color.h"

// What the menu hooks share between a long-press and the layout passes of the menu it opens.
// Empty at load; read and written on the main thread only.
struct MenuState {
  // The colour of the home-screen icon whose menu was asked for last.
  Ref<UIColor> color;
  // The colour of the app whose notification was expanded last (nil when it had no icon).
  Ref<UIColor> color2;
  // Whether the open menu belongs to a home-screen icon rather than a notification.
  bool isSBContextMenu = false;
  // The bundle identifier of the last pressed icon's app, nil for icons that are not apps.
  Ref<NSString> bundleIdentifier;
};

MenuState& menuState();
