#pragma once

#include <cstdint>
#include <cstring>

#include "platform/graphics/bitmap.h"
#include "platform/uikit/rendering/internal/cairo_handles.h"

namespace rendering {

// cairo's ARGB32 pixel: one native-endian word, alpha in the top byte, then red, green, blue,
// premultiplied.
inline uint32_t loadPixel(const unsigned char* bytes) {
  uint32_t value;
  std::memcpy(&value, bytes, 4);
  return value;
}
inline void storePixel(unsigned char* bytes, uint32_t value) {
  std::memcpy(bytes, &value, 4);
}

// A rectangle of whole device pixels.
struct PixelRect {
  int x = 0, y = 0, width = 0, height = 0;

  bool empty() const { return width <= 0 || height <= 0; }
  int right() const { return x + width; }
  int bottom() const { return y + height; }
  PixelRect intersection(const PixelRect& other) const;
  // Grown by margin pixels on every side.
  PixelRect inflated(int margin) const;
  PixelRect translated(int dx, int dy) const { return {x + dx, y + dy, width, height}; }
};

// A device-pixel rectangle covering every pixel a user-space rectangle touches under cr's
// transform (which only scales and translates here). Coordinates past the int range are
// clamped, so the result can always be intersected safely.
PixelRect deviceRectOf(cairo_t* cr, double x, double y, double width, double height);
// A length in points as device pixels under cr's transform (which scales evenly here).
double deviceLength(cairo_t* cr, double points);
// The device pixels cr's clip lets through, within limit.
PixelRect clipRectOf(cairo_t* cr, const PixelRect& limit);

// The device pixels an image surface covers (its size, placed by its device offset).
PixelRect areaOf(cairo_surface_t* surface);

// An ARGB32 surface of area's size whose device offset puts its pixel (0, 0) at area's origin,
// so drawing to it with the global device transform lands where it would on the output.
// Null if cairo cannot make it.
SurfaceHandle makeAreaSurface(const PixelRect& area, cairo_format_t format = CAIRO_FORMAT_ARGB32);

// A new ARGB32 surface with the bitmap's pixels (cairo's native byte order); null for an empty
// bitmap.
SurfaceHandle surfaceFromBitmap(const Bitmap& bitmap);
// Converts count pixels from cairo's ARGB32 words to R, G, B, A bytes; out may be in.
void convertToRGBA(const unsigned char* in, uint8_t* out, size_t count);

// Multiplies every byte of target's ARGB32 pixels by the matching byte of factors (same size),
// which in premultiplied form multiplies colour and alpha componentwise.
void multiplyPixels(cairo_surface_t* target, cairo_surface_t* factors);

}  // namespace rendering
