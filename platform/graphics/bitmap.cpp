#include "platform/graphics/bitmap.h"

#include <cassert>

Bitmap Bitmap::fromPremultiplied(int width, int height, std::vector<uint8_t> pixels,
                                 ColorModel model) {
  Bitmap bitmap;
  if (width <= 0 || height <= 0 || pixels.size() != 4 * size_t(width) * size_t(height)) {
    assert(width == 0 || height == 0 || !"pixel buffer of the wrong size");
    return bitmap;
  }
  bitmap.width_ = width;
  bitmap.height_ = height;
  bitmap.model_ = model;
  bitmap.pixels_ = std::make_shared<const std::vector<uint8_t>>(std::move(pixels));
  return bitmap;
}

Bitmap Bitmap::fromStraightAlpha(int width, int height, std::vector<uint8_t> pixels,
                                 ColorModel model) {
  for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
    unsigned alpha = pixels[i + 3];
    if (alpha == 255) continue;
    for (size_t c = 0; c < 3; ++c)
      pixels[i + c] = uint8_t((pixels[i + c] * alpha + 127) / 255);
  }
  return fromPremultiplied(width, height, std::move(pixels), model);
}
