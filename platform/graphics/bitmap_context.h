#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/graphics/bitmap.h"
#include "platform/graphics/geometry.h"

// A bitmap context: width × height pixels of 4 bytes, R, G, B, A, premultiplied, rows packed
// (4 × width bytes a row), row 0 at the top, zero-filled when made. Images are drawn into it
// scaled to fill a rectangle given in pixels, top-left origin, composited source-over.
//
// Scaling averages every source pixel a destination pixel covers, weighted by the area it
// covers (a box filter over exact pixel areas), in premultiplied space, rounded to the nearest
// byte; a flat image stays exactly flat at any size. Partly covered destination pixels at a
// rectangle's edges take the source in proportion to their coverage. An image drawn at its own
// size on whole pixels is copied pixel for pixel.
class CGBitmapContext {
 public:
  // No context (as the platform's creation fails) for a width or height of 0 or over 16384,
  // for more pixels than memory allows, or for the grey model, which cannot hold 4 components.
  static std::optional<CGBitmapContext> create(int width, int height,
                                               ColorModel model = ColorModel::rgb);

  int width() const { return width_; }
  int height() const { return height_; }
  size_t bytesPerRow() const { return 4 * size_t(width_); }
  uint8_t* data() { return data_.data(); }
  const uint8_t* data() const { return data_.data(); }
  // Hands the pixel buffer to the caller; the context is empty afterwards.
  std::vector<uint8_t> takeData() { return std::move(data_); }

  // Draws the image's bitmap scaled to fill rect. An empty bitmap draws nothing.
  void drawImage(const Bitmap& image, const CGRect& rect);

 private:
  CGBitmapContext(int width, int height);
  void drawUnscaled(const Bitmap& image, int left, int top);
  void drawScaled(const Bitmap& image, const CGRect& area);

  int width_;
  int height_;
  std::vector<uint8_t> data_;
  // Nothing drawn yet: drawing can write instead of compositing.
  bool pristine_ = true;
};
