#include "platform/graphics/bitmap.h"

#include <gtest/gtest.h>

// Every channel value under every alpha: the premultiplied byte is v·a/255 rounded to the
// nearest, the alpha is kept, and so is a channel of an opaque pixel.
TEST(BitmapTest, PremultipliesEveryValueUnderEveryAlphaToTheNearestByte) {
  std::vector<uint8_t> straight;
  for (unsigned alpha = 0; alpha < 256; ++alpha) {
    for (unsigned value = 0; value < 256; ++value) {
      straight.insert(straight.end(), {uint8_t(value), uint8_t(255 - value), 0, uint8_t(alpha)});
    }
  }
  Bitmap bitmap = Bitmap::fromStraightAlpha(256, 256, straight);
  for (unsigned alpha = 0; alpha < 256; ++alpha) {
    for (unsigned value = 0; value < 256; ++value) {
      const uint8_t* pixel = bitmap.pixel(int(value), int(alpha));
      ASSERT_EQ(pixel[0], (value * alpha + 127) / 255) << value << " under " << alpha;
      ASSERT_EQ(pixel[1], ((255 - value) * alpha + 127) / 255) << value << " under " << alpha;
      ASSERT_EQ(pixel[2], 0);
      ASSERT_EQ(pixel[3], alpha);
    }
  }
  // Pixels past the last whole group of four, taken one at a time.
  std::vector<uint8_t> seven(straight.begin() + 4 * 256 * 200,
                             straight.begin() + 4 * 256 * 200 + 28);
  Bitmap tail = Bitmap::fromStraightAlpha(7, 1, seven);
  for (int x = 0; x < 7; ++x)
    ASSERT_EQ(tail.pixel(x, 0)[0], (unsigned(x) * 200 + 127) / 255) << x;
}
