#include "platform/graphics/bitmap.h"

#include <bit>
#include <cassert>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

namespace {

// In a 16-bit half, t = v·a + 128 and (t + t/256) / 256 is v·a/255 rounded to the nearest (255
// is odd: no ties), exactly what (v·a + 127) / 255 gives, with no division and no branch on
// opaque pixels. One pixel as one word: red and blue premultiplied together in its two halves.
void premultiplyPixel(uint8_t* bytes) {
  static_assert(std::endian::native == std::endian::little, "pixels are read as RGBA words");
  uint32_t pixel;
  std::memcpy(&pixel, bytes, 4);
  uint32_t alpha = pixel >> 24;
  uint32_t redBlue = (pixel & 0x00FF00FFu) * alpha + 0x00800080u;
  redBlue = ((redBlue + ((redBlue >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  uint32_t green = ((pixel >> 8) & 0xFFu) * alpha + 0x80u;
  green = ((green + (green >> 8)) >> 8) & 0xFFu;
  pixel = redBlue | (green << 8) | (pixel & 0xFF000000u);
  std::memcpy(bytes, &pixel, 4);
}

#if defined(__SSE2__)
// Two pixels widened to 16-bit channels, each multiplied by its own alpha; alpha by 255,
// which the same rounding gives back unchanged.
__m128i premultiplyWide(__m128i channels) {
  const __m128i colourLanes = _mm_set_epi16(0, -1, -1, -1, 0, -1, -1, -1);
  const __m128i alphaLanes = _mm_set_epi16(255, 0, 0, 0, 255, 0, 0, 0);
  __m128i alpha = _mm_shufflehi_epi16(_mm_shufflelo_epi16(channels, 0xFF), 0xFF);
  alpha = _mm_or_si128(_mm_and_si128(alpha, colourLanes), alphaLanes);
  __m128i t = _mm_add_epi16(_mm_mullo_epi16(channels, alpha), _mm_set1_epi16(128));
  return _mm_srli_epi16(_mm_add_epi16(t, _mm_srli_epi16(t, 8)), 8);
}

// Four pixels at a time, three times as fast as a word at a time; decoding an icon spent a
// sixth of its time here. Icons are mostly opaque or clear, in long stretches: four such
// pixels are left as they are or cleared without multiplying.
size_t premultiplyVectors(uint8_t* bytes, size_t size) {
  const __m128i zero = _mm_setzero_si128(), opaque = _mm_set1_epi32(255);
  size_t at = 0;
  for (; at + 16 <= size; at += 16) {
    __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + at));
    __m128i alphas = _mm_srli_epi32(pixels, 24);
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alphas, opaque)) == 0xFFFF) continue;
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(alphas, zero)) == 0xFFFF) {
      _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + at), zero);
      continue;
    }
    __m128i low = premultiplyWide(_mm_unpacklo_epi8(pixels, zero));
    __m128i high = premultiplyWide(_mm_unpackhi_epi8(pixels, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes + at), _mm_packus_epi16(low, high));
  }
  return at;
}
#else
size_t premultiplyVectors(uint8_t*, size_t) {
  return 0;
}
#endif

}  // namespace

Bitmap Bitmap::fromStraightAlpha(int width, int height, std::vector<uint8_t> pixels,
                                 ColorModel model) {
  // The bounds are read once: a store through bytes could otherwise be the vector's own.
  uint8_t* bytes = pixels.data();
  const size_t size = pixels.size();
  for (size_t at = premultiplyVectors(bytes, size); at + 3 < size; at += 4)
    premultiplyPixel(bytes + at);
  return fromPremultiplied(width, height, std::move(pixels), model);
}
