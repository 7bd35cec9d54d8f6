#include "platform/uikit/rendering/internal/pixels.h"

#include <algorithm>
#include <bit>
#include <cmath>

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

// R, G, B, A bytes read as one native word differ from cairo's ARGB32 word by a fixed
// permutation of bytes, done a word at a time.
uint32_t rgbaToWord(uint32_t rgba) {
  if constexpr (std::endian::native == std::endian::little) {
    return (rgba & 0xFF00FF00u) | (rgba >> 16 & 0xFFu) | (rgba & 0xFFu) << 16;
  } else {
    return std::rotr(rgba, 8);
  }
}

uint32_t wordToRGBA(uint32_t word) {
  if constexpr (std::endian::native == std::endian::little) {
    return rgbaToWord(word);  // trading red and blue undoes itself
  } else {
    return std::rotl(word, 8);
  }
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

double deviceLength(cairo_t* cr, double points) {
  double dx = points, dy = 0;
  cairo_user_to_device_distance(cr, &dx, &dy);
  return std::hypot(dx, dy);
}

PixelRect clipRectOf(cairo_t* cr, const PixelRect& limit) {
  double x0, y0, x1, y1;
  cairo_clip_extents(cr, &x0, &y0, &x1, &y1);
  cairo_user_to_device(cr, &x0, &y0);
  cairo_user_to_device(cr, &x1, &y1);
  return pixelsCovering(x0, y0, x1, y1).intersection(limit);
}

PixelRect areaOf(cairo_surface_t* surface) {
  double offsetX = 0, offsetY = 0;
  cairo_surface_get_device_offset(surface, &offsetX, &offsetY);
  return {static_cast<int>(-offsetX), static_cast<int>(-offsetY),
          cairo_image_surface_get_width(surface), cairo_image_surface_get_height(surface)};
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
    for (int x = 0; x < bitmap.width(); ++x)
      storePixel(row + 4 * x, rgbaToWord(loadPixel(source + 4 * x)));
  }
  cairo_surface_mark_dirty(surface.get());
  return surface;
}

void convertToRGBA(const unsigned char* in, uint8_t* out, size_t count) {
  for (size_t i = 0; i < count; ++i)
    storePixel(out + 4 * i, wordToRGBA(loadPixel(in + 4 * i)));
}

void multiplyPixels(cairo_surface_t* target, cairo_surface_t* factors) {
  cairo_surface_flush(target);
  cairo_surface_flush(factors);
  int width =
      std::min(cairo_image_surface_get_width(target), cairo_image_surface_get_width(factors));
  int height =
      std::min(cairo_image_surface_get_height(target), cairo_image_surface_get_height(factors));
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
