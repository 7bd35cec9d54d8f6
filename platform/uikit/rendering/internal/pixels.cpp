#include "platform/uikit/rendering/internal/pixels.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rendering {

namespace {

// Far beyond any surface, yet small enough that sums of two stay inside int.
constexpr double kCoordinateLimit = 1 << 29;

int clampedFloor(double value) {
  return static_cast<int>(std::clamp(std::floor(value), -kCoordinateLimit, kCoordinateLimit));
}

int clampedCeil(double value) {
  return static_cast<int>(std::clamp(std::ceil(value), -kCoordinateLimit, kCoordinateLimit));
}

PixelRect pixelsCovering(double x0, double y0, double x1, double y1) {
  if (!std::isfinite(x0) || !std::isfinite(y0) || !std::isfinite(x1) || !std::isfinite(y1)) {
    return {};
  }
  int left = clampedFloor(std::min(x0, x1)), top = clampedFloor(std::min(y0, y1));
  int right = clampedCeil(std::max(x0, x1)), bottom = clampedCeil(std::max(y0, y1));
  return {left, top, right - left, bottom - top};
}

}  // namespace

PixelRect PixelRect::intersection(const PixelRect& other) const {
  int left = std::max(x, other.x), top = std::max(y, other.y);
  int r = std::min(right(), other.right()), b = std::min(bottom(), other.bottom());
  if (r <= left || b <= top) return {left, top, 0, 0};
  return {left, top, r - left, b - top};
}

PixelRect PixelRect::inflated(int margin) const {
  return {x - margin, y - margin, width + 2 * margin, height + 2 * margin};
}

PixelRect deviceRectOf(cairo_t* cr, double x, double y, double width, double height) {
  double x0 = x, y0 = y, x1 = x + width, y1 = y + height;
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  return pixelsCovering(x0, y0, x1, y1);
}

PixelRect clipRectOf(cairo_t* cr, const PixelRect& limit) {
  double x0, y0, x1, y1;
  cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  return pixelsCovering(x0, y0, x1, y1).intersection(limit);
}

SurfaceHandle makeAreaSurface(const PixelRect& area, cairo_format_t format) {
  if (area.empty()) return nullptr;
  SurfaceHandle surface(cairo_image_surface_create(format, area.width, area.height));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_set_device_offset(surface.get(), -area.x, -area.y);
  return surface;
}

SurfaceHandle surfaceFromBitmap(const Bitmap& bitmap) {
  if (bitmap.empty()) return nullptr;
  SurfaceHandle surface(
      cairo_image_surface_create(CAIRO_FORMAT_ARGB32, bitmap.width(), bitmap.height()));
  if (cairo_surface_status(surface.get()) != CAIRO_STATUS_SUCCESS) return nullptr;
  cairo_surface_flush(surface.get());
  unsigned char* data = cairo_image_surface_get_data(surface.get());
  int stride = cairo_image_surface_get_stride(surface.get());
  for (int y = 0; y < bitmap.height(); ++y) {
    const uint8_t* source = bitmap.pixel(0, y);
    unsigned char* row = data + size_t(y) * stride;
    for (int x = 0; x < bitmap.width(); ++x, source += 4) {
      storePixel(row + 4 * x, uint32_t(source[3]) << 24 | uint32_t(source[0]) << 16 |
                             uint32_t(source[1]) << 8 | source[2]);
    }
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

Bitmap bitmapFromSurface(cairo_surface_t* surface) {
  cairo_surface_flush(surface);
  int width = cairo_image_surface_get_width(surface);
  int height = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  const unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data || width <= 0 || height <= 0) return {};
  std::vector<uint8_t> pixels(4 * size_t(width) * height);
  uint8_t* out = pixels.data();
  for (int y = 0; y < height; ++y) {
    const unsigned char* row = data + size_t(y) * stride;
    for (int x = 0; x < width; ++x, out += 4) {
      uint32_t value = loadPixel(row + 4 * x);
      out[0] = uint8_t(value >> 16);
      out[1] = uint8_t(value >> 8);
      out[2] = uint8_t(value);
      out[3] = uint8_t(value >> 24);
    }
  }
  return Bitmap::fromPremultiplied(width, height, std::move(pixels));
}

void multiplyPixels(cairo_surface_t* target, cairo_surface_t* factors) {
  cairo_surface_flush(target);
  cairo_surface_flush(factors);
  int width = std::min(cairo_image_surface_get_width(target),
                       cairo_image_surface_get_width(factors));
  int height = std::min(cairo_image_surface_get_height(target),
                        cairo_image_surface_get_height(factors));
  unsigned char* data = cairo_image_surface_get_data(target);
  const unsigned char* factorData = cairo_image_surface_get_data(factors);
  if (!data || !factorData) return;
  int stride = cairo_image_surface_get_stride(target);
  int factorStride = cairo_image_surface_get_stride(factors);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = data + size_t(y) * stride;
    const unsigned char* factorRow = factorData + size_t(y) * factorStride;
    for (int i = 0; i < 4 * width; ++i) {
      // Rounded division by 255: exact for 0 and 255 factors.
      unsigned product = unsigned(row[i]) * factorRow[i] + 128;
      row[i] = static_cast<unsigned char>((product + (product >> 8)) >> 8);
    }
  }
  cairo_surface_mark_dirty(target);
}

}  // namespace rendering
