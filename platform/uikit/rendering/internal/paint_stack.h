#pragma once

#include <vector>

#include "platform/uikit/rendering/internal/pixels.h"

namespace rendering {

// What has been painted so far through a context: its target, then each group opened on it
// (a layer drawn at part opacity or with a shadow) still to be composited with its opacity.
// Effects that show what lies behind them read it here.
class PaintStack {
 public:
  // cr's target must be an image surface.
  explicit PaintStack(cairo_t* cr) : cr_(cr) {}

  cairo_t* context() const { return cr_; }

  // Redirects painting to a new transparent group (cairo_push_group) that will be composited
  // with opacity.
  void pushGroup(double opacity);
  // Ends the innermost group and returns it as a pattern (cairo_pop_group).
  PatternHandle popGroup();

  // The device pixels of the output.
  PixelRect outputArea() const;
  // What lies under the next thing painted, within area (device pixels, inside the output):
  // the output with the open groups composited over it. Null if cairo cannot make it.
  SurfaceHandle flatten(const PixelRect& area) const;

 private:
  struct Group {
    cairo_surface_t* surface;  // owned by cr's group stack
    double opacity;
  };

  cairo_t* cr_;
  std::vector<Group> groups_;
};

}  // namespace rendering
