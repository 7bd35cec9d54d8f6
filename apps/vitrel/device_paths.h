#pragma once

#include <filesystem>

#include "platform/foundation/device.h"

// Where a running home screen keeps what other processes read: its picture and its control
// socket. Needs the device folder set.
inline std::filesystem::path springboardCacheFolder() {
  return *device::directory() / "var/mobile/Library/Caches/vitrel";
}
inline std::filesystem::path screenPicturePath() {
  return springboardCacheFolder() / "screen.png";
}
inline std::filesystem::path controlSocketPath() {
  return springboardCacheFolder() / "control.sock";
}
