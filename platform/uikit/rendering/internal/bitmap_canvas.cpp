#include "platform/uikit/rendering/internal/bitmap_canvas.h"

#include <cmath>

namespace rendering {

namespace {

// The platform refuses bitmap contexts wider or taller than this.
constexpr double kMaxSide = 16384;

// Rounded up, but not for the last bit of a product that floating point made a hair too large
// (1/3 × 3).
double pixelsFor(double points, double scale) {
  return std::ceil(points * scale - 1e-9);
}

}  // namespace

BitmapCanvas::BitmapCanvas(CGSize size, double scale) {
  double width = pixelsFor(size.width, scale), height = pixelsFor(size.height, scale);
  if (!(scale > 0 && width >= 1 && height >= 1 && width <= kMaxSide && height <= kMaxSide)) {
    return;
  }
  width_ = static_cast<int>(width);
  height_ = static_cast<int>(height);
  // Zeroed: transparent. Rows of 4 × width bytes are what cairo asks of ARGB32 too.
  pixels_.resize(4 * size_t(width_) * size_t(height_));
  SurfaceHandle surface(cairo_image_surface_create_for_data(pixels_.data(), CAIRO_FORMAT_ARGB32,
                                                            width_, height_, 4 * width_));
  if (cairo_surface_status(surface.get()) == CAIRO_STATUS_SUCCESS) surface_ = std::move(surface);
}

Bitmap BitmapCanvas::snapshot() const {
  if (!surface_) return {};
  cairo_surface_flush(surface_.get());
  std::vector<uint8_t> pixels(pixels_.size());
  convertToRGBA(pixels_.data(), pixels.data(), pixels.size() / 4);
  return Bitmap::fromPremultiplied(width_, height_, std::move(pixels));
}

Bitmap BitmapCanvas::take() {
  if (!surface_) return {};
  // Every drawing through the surface is done once it is finished.
  cairo_surface_finish(surface_.get());
  surface_.reset();
  convertToRGBA(pixels_.data(), pixels_.data(), pixels_.size() / 4);
  return Bitmap::fromPremultiplied(width_, height_, std::move(pixels_));
}

}  // namespace rendering
