#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

// The colour model of an image's pixels.
enum class ColorModel { rgb, gray };

// An image's pixels: width × height pixels of 4 bytes, R, G, B, A, alpha premultiplied into R,
// G and B, rows packed top to bottom (4 × width bytes a row). A grey image keeps its grey
// model (R = G = B) so that contexts that cannot take grey refuse it, as on the platform.
// A value: copies share the (immutable) pixels.
class Bitmap {
 public:
  // The empty bitmap: 0 × 0, no pixels.
  Bitmap() = default;
  // Takes pixels already premultiplied; their size must be 4 × width × height.
  static Bitmap fromPremultiplied(int width, int height, std::vector<uint8_t> pixels,
                                  ColorModel model = ColorModel::rgb);
  // Premultiplies straight (unassociated) RGBA pixels, rounding to the nearest byte.
  static Bitmap fromStraightAlpha(int width, int height, std::vector<uint8_t> pixels,
                                  ColorModel model = ColorModel::rgb);

  int width() const { return width_; }
  int height() const { return height_; }
  ColorModel model() const { return model_; }
  bool empty() const { return width_ == 0 || height_ == 0; }
  const uint8_t* pixels() const { return pixels_ ? pixels_->data() : nullptr; }
  size_t byteCount() const { return pixels_ ? pixels_->size() : 0; }
  // The 4 bytes of the pixel at column x, row y.
  const uint8_t* pixel(int x, int y) const { return pixels() + 4 * (size_t(y) * width_ + x); }

 private:
  int width_ = 0, height_ = 0;
  ColorModel model_ = ColorModel::rgb;
  std::shared_ptr<const std::vector<uint8_t>> pixels_;
};
