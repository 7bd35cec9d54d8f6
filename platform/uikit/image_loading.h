#pragma once

#include <filesystem>
#include <string>

#include "platform/graphics/ui_image.h"

class NSBundle;

enum UIImageRenderingMode : long {
  UIImageRenderingModeAutomatic = 0,
  UIImageRenderingModeAlwaysOriginal = 1,
  UIImageRenderingModeAlwaysTemplate = 2,
};

// Where an image came from and how it is drawn, for hosts that show images by reference: a
// file path, or "symbol:<name>" for a system symbol.
struct ImageOrigin {
  std::string source;
  UIImageRenderingMode renderingMode = UIImageRenderingModeAutomatic;
};

// The PNG at path, or nil when it cannot be read (the reason is logged).
Ref<UIImage> imageWithContentsOfFile(const std::filesystem::path& path);
// "<name>.png" (else "@2x", "@3x") in the bundle's folder, or nil.
Ref<UIImage> imageNamed(const std::string& name, const NSBundle* bundle);
// A system symbol: drawn by the host from its name; 20 points square here.
Ref<UIImage> systemImageNamed(const std::string& name);
// The same picture with another rendering mode (a new image, as on the platform).
Ref<UIImage> imageWithRenderingMode(const UIImage* image, UIImageRenderingMode mode);

// The origin recorded for an image made by the functions above; empty source otherwise.
ImageOrigin originOf(const UIImage* image);
