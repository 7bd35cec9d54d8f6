#pragma once

#include <filesystem>
#include <string>
#include <vector>

#include "platform/foundation/result.h"
#include "platform/uikit/ui_view.h"

// A screen for the picture and the caption under it.
struct Panel {
  UIView* window;
  std::string caption;
};

// The panels side by side on a dark card, each screen with the rounded corners of the device,
// at scale pixels a point, written as a PNG (atomically: a reader never sees half a file).
Result<bool> writePreviewPicture(const std::vector<Panel>& panels, double scale,
                                 const std::filesystem::path& output);

// The window alone, as its screen shows it, written the same way.
Result<bool> writeScreenPicture(UIView* window, double scale, const std::filesystem::path& output);
