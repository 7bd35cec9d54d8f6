#pragma once

#include <vector>

#include "platform/graphics/geometry.h"
#include "platform/uikit/rendering/internal/pixels.h"

namespace rendering {

// Pixels that cairo draws into and that become a bitmap: a transparent ARGB32 surface over a
// buffer of its own, ceil(size × scale) pixels for size points at scale pixels a point.
class BitmapCanvas {
 public:
  // An invalid canvas unless both sides come to 1…16384 pixels (the platform's limit for
  // bitmap contexts; NaN fails too) and cairo can make it.
  BitmapCanvas(CGSize size, double scale);

  bool valid() const { return surface_ != nullptr; }
  cairo_surface_t* surface() const { return surface_.get(); }

  // A copy of what has been drawn, as a bitmap; empty for an invalid canvas.
  Bitmap snapshot() const;
  // What has been drawn, as a bitmap, without a copy; the canvas is invalid afterwards.
  Bitmap take();

 private:
  int width_ = 0, height_ = 0;
  std::vector<uint8_t> pixels_;
  SurfaceHandle surface_;  // over pixels_, so released first
};

}  // namespace rendering
