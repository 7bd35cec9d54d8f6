#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/result.h"
#include "platform/graphics/ui_image.h"
#include "platform/uikit/ui_view.h"

// A screen of the picture, already drawn, and the caption under it.
struct Panel {
  Ref<UIImage> screen;
  CGSize size;
  std::string caption;
};

// Draws the window as its screen shows it now, at scale pixels a point. A scene is drawn while
// it is the device's present (its interface style, its lock screen): what a later scene
// changes on the device must not reach an earlier scene's picture.
Panel drawPanel(const UIView* window, double scale, std::string caption);

// The panels side by side on a dark card, each screen with the rounded corners of the device,
// at scale pixels a point, written as a PNG (atomically: a reader never sees half a file).
Result<void> writePreviewPicture(const std::vector<Panel>& panels, double scale,
                                 const std::filesystem::path& output);

// The window alone, as its screen shows it, written the same way.
Result<void> writeScreenPicture(UIView* window, double scale, const std::filesystem::path& output);
