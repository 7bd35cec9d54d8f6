#include "platform/uikit/rendering/internal/backdrop.h"

#include <cmath>

#include "platform/uikit/rendering/internal/blur.h"
#include "platform/uikit/rendering/internal/paint.h"

namespace rendering {

namespace {

struct Material {
  double blurPoints;  // Gaussian sigma, in points
  double saturation;
  RGBA tint;  // painted over the blur
};

constexpr Material kLightMaterial{10, 1.8, {1, 1, 1, 0.6}};
constexpr Material kDarkMaterial{10, 1.8, {0.1, 0.1, 0.1, 0.65}};
constexpr Material kClearGlass{8, 1, {0, 0, 0, 0}};

const Material& materialOf(const VisualEffectBackdropView& backdrop) {
  if (backdrop.renderMode() == 1) return kClearGlass;
  bool dark = backdrop.traitCollection()->userInterfaceStyle() == UIUserInterfaceStyleDark;
  return dark ? kDarkMaterial : kLightMaterial;
}

void paintBlurred(const PaintStack& behind, const CGRect& bounds, const Material& material,
                  double radius) {
  cairo_t* cr = behind.context();
  PixelRect output = behind.outputArea();
  PixelRect shown = deviceRectOf(cr, bounds.minX(), bounds.minY(), bounds.width(), bounds.height())
                        .intersection(clipRectOf(cr, output));
  if (shown.empty()) return;
  // What lies around the area blurs into its edges, as it does on the device.
  double sigma = deviceLength(cr, material.blurPoints);
  PixelRect sampled = shown.inflated(static_cast<int>(std::ceil(2 * sigma))).intersection(output);
  SurfaceHandle under = behind.flatten(sampled);
  if (!under) return;
  BlurredImage blurred = blurArea(under.get(), sampled, sampled, sigma, false);
  if (!blurred.surface) return;
  if (material.saturation != 1) saturatePixels(blurred.surface.get(), material.saturation);

  SavedState saved(cr);
  cairo_new_path(cr);
  addRoundedRect(cr, bounds, radius);
  cairo_clip(cr);
  cairo_identity_matrix(cr);
  PatternHandle pattern = blurredPattern(blurred);
  cairo_set_source(cr, pattern.get());
  cairo_paint(cr);
  if (material.tint.alpha > 0) {
    const RGBA& tint = material.tint;
    cairo_set_source_rgba(cr, tint.red, tint.green, tint.blue, tint.alpha);
    cairo_paint(cr);
  }
}

}  // namespace

void paintBackdrop(const PaintStack& behind, const VisualEffectBackdropView& backdrop,
                   double radius) {
  paintBlurred(behind, backdrop.bounds(), materialOf(backdrop), radius);
}

void paintBackdropLayer(const PaintStack& behind, const CGRect& bounds, double blurPoints,
                        double radius) {
  // The home screen's materials saturate what they blur a little less than UIKit's.
  paintBlurred(behind, bounds, {blurPoints, 1.4, {0, 0, 0, 0}}, radius);
}

}  // namespace rendering
