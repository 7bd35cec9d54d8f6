#include "platform/uikit/rendering/internal/paint_stack.h"

namespace rendering {

void PaintStack::pushGroup(double opacity) {
  cairo_push_group(cr_);
  groups_.push_back({cairo_get_group_target(cr_), opacity});
}

PatternHandle PaintStack::popGroup() {
  groups_.pop_back();
  return PatternHandle(cairo_pop_group(cr_));
}

PixelRect PaintStack::outputArea() const {
  return areaOf(cairo_get_target(cr_));
}

SurfaceHandle PaintStack::flatten(const PixelRect& area) const {
  SurfaceHandle flat = makeAreaSurface(area);
  if (!flat) return nullptr;
  ContextHandle cr(cairo_create(flat.get()));
  // Surfaces as sources honour their device offsets, so every one lands where it lies.
  cairo_set_source_surface(cr.get(), cairo_get_target(cr_), 0, 0);
  cairo_paint(cr.get());
  for (const Group& group : groups_) {
    cairo_set_source_surface(cr.get(), group.surface, 0, 0);
    cairo_paint_with_alpha(cr.get(), group.opacity);
  }
  cr.reset();
  cairo_surface_flush(flat.get());
  return flat;
}

}  // namespace rendering
