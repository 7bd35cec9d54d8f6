#pragma once

#include "platform/graphics/ui_color.h"

// The platform's named colours that settings pages use, with the platform's light values.
namespace system_colors {

inline Ref<UIColor> orangeColor() {
  return UIColor::colorWithRed(1, 0.5, 0, 1);
}
inline Ref<UIColor> yellowColor() {
  return UIColor::colorWithRed(1, 1, 0, 1);
}
inline Ref<UIColor> blueColor() {
  return UIColor::colorWithRed(0, 0, 1, 1);
}
inline Ref<UIColor> systemGrayColor() {
  return UIColor::colorWithRed(142 / 255.0, 142 / 255.0, 147 / 255.0, 1);
}
inline Ref<UIColor> systemPurpleColor() {
  return UIColor::colorWithRed(175 / 255.0, 82 / 255.0, 222 / 255.0, 1);
}

}  // namespace system_colors
