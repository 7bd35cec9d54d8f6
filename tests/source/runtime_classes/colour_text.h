#pragma once

#include <cstdio>
#include <string>
#include <vector>

#include "platform/foundation/ns_array.h"
#include "platform/graphics/ui_color.h"

// Colours as exact text, so that what a process got through the runtime and what the C++
// functions give compare as lines: every component with all the digits a double has.
namespace colour_text {

inline std::string of(const UIColor* color) {
  if (!color) return "nil";
  auto rgba = color->color().rgba();
  if (!rgba) return "pattern";
  char text[128];
  std::snprintf(text, sizeof text, "(%.17g %.17g %.17g %.17g)", rgba->red, rgba->green, rgba->blue,
                rgba->alpha);
  return text;
}

inline std::string of(const std::vector<Ref<UIColor>>& colors) {
  std::string text = "[";
  for (const Ref<UIColor>& color : colors)
    text += of(color.get());
  return text + "]";
}

inline std::string of(const NSArray* colors) {
  if (!colors) return "nil";
  std::vector<Ref<UIColor>> list;
  for (const Ref<NSObject>& object : *colors)
    list.emplace_back(dynamic_cast<UIColor*>(object.get()));
  return of(list);
}

// The sample icons both sides look at.
inline const std::vector<std::string>& sampleIcons() {
  static const std::vector<std::string> icons = {
      "books",    "calculator", "calendar", "clock",      "guide",  "mail",
      "maps",     "music",      "news",     "phone",      "photos", "podcasts",
      "settings", "terminal",   "videos",   "voice-memos"};
  return icons;
}

}  // namespace colour_text
