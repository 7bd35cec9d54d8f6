#include "platform/graphics/internal/png_unfilter.h"

#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace png_rows {
namespace {

enum Filter : uint8_t { kNone, kSub, kUp, kAverage, kPaeth };

uint8_t paethPredictor(int a, int b, int c) {
  int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
  if (pa <= pb && pa <= pc) return static_cast<uint8_t>(a);
  return static_cast<uint8_t>(pb <= pc ? b : c);
}

// Byte by byte, for any pixel size; the first pixel has no left neighbour (zero).
void unfilterBytes(uint8_t filter, const uint8_t* in, uint8_t* out, const uint8_t* previous,
                   size_t length, size_t bpp) {
  for (size_t i = 0; i < length; ++i) {
    int a = i >= bpp ? out[i - bpp] : 0, b = previous[i], c = i >= bpp ? previous[i - bpp] : 0;
    int prediction = filter == kSub       ? a
                     : filter == kUp      ? b
                     : filter == kAverage ? (a + b) / 2
                                          : paethPredictor(a, b, c);
    out[i] = static_cast<uint8_t>(in[i] + prediction);
  }
}

#if defined(__SSE2__)

// The filters that depend on the pixel to the left run one pixel at a time in a vector
// register; the chain through the left pixel, not the arithmetic, sets their speed.
template <size_t bpp>
__m128i loadPixel(const uint8_t* p) {
  uint32_t value = 0;
  std::memcpy(&value, p, bpp);
  return _mm_cvtsi32_si128(static_cast<int>(value));
}

template <size_t bpp>
void storePixel(uint8_t* p, __m128i pixel) {
  uint32_t value = static_cast<uint32_t>(_mm_cvtsi128_si32(pixel));
  std::memcpy(p, &value, bpp);
}

template <size_t bpp>
void unfilterSub(const uint8_t* in, uint8_t* out, size_t length) {
  __m128i left = _mm_setzero_si128();
  for (size_t i = 0; i < length; i += bpp) {
    left = _mm_add_epi8(left, loadPixel<bpp>(in + i));
    storePixel<bpp>(out + i, left);
  }
}

template <size_t bpp>
void unfilterAverage(const uint8_t* in, uint8_t* out, const uint8_t* previous, size_t length) {
  const __m128i one = _mm_set1_epi8(1);
  __m128i left = _mm_setzero_si128();
  for (size_t i = 0; i < length; i += bpp) {
    __m128i above = loadPixel<bpp>(previous + i);
    // _mm_avg_epu8 rounds up; PNG's average rounds down.
    __m128i roundedUp = _mm_avg_epu8(left, above);
    __m128i average = _mm_sub_epi8(roundedUp, _mm_and_si128(_mm_xor_si128(left, above), one));
    left = _mm_add_epi8(average, loadPixel<bpp>(in + i));
    storePixel<bpp>(out + i, left);
  }
}

// Channels widened to 16 bits, where a + b - 2c cannot overflow. The choice is made on
// distances and offsets from the left pixel a, so that each pixel waits on the one before for
// eight instructions rather than fourteen: Paeth rows set the speed of reading most icons.
template <size_t bpp>
void unfilterPaeth(const uint8_t* in, uint8_t* out, const uint8_t* previous, size_t length) {
  const __m128i zero = _mm_setzero_si128(), lowByte = _mm_set1_epi16(0xFF);
  __m128i a = zero, c = zero;
  for (size_t i = 0; i < length; i += bpp) {
    __m128i b = _mm_unpacklo_epi8(loadPixel<bpp>(previous + i), zero);
    __m128i x = _mm_unpacklo_epi8(loadPixel<bpp>(in + i), zero);
    // Independent of a: pa = |b - c|, and k, with a + b - 2c = a - k.
    __m128i pa = _mm_max_epi16(_mm_sub_epi16(b, c), _mm_sub_epi16(c, b));
    __m128i k = _mm_sub_epi16(_mm_add_epi16(c, c), b);
    // pb = |a - c|, pc = |a - k|.
    __m128i ca = _mm_sub_epi16(c, a), ba = _mm_sub_epi16(b, a);
    __m128i pb = _mm_max_epi16(_mm_sub_epi16(a, c), ca);
    __m128i pc = _mm_max_epi16(_mm_sub_epi16(a, k), _mm_sub_epi16(k, a));
    __m128i notA = _mm_or_si128(_mm_cmpgt_epi16(pa, pb), _mm_cmpgt_epi16(pa, pc));
    __m128i cOverB = _mm_and_si128(_mm_cmpgt_epi16(pb, pc), _mm_xor_si128(ba, ca));
    __m128i offset = _mm_and_si128(notA, _mm_xor_si128(ba, cOverB));
    __m128i pixel = _mm_and_si128(_mm_add_epi16(_mm_add_epi16(a, x), offset), lowByte);
    storePixel<bpp>(out + i, _mm_packus_epi16(pixel, zero));
    a = pixel;
    c = b;
  }
}

void unfilterUp(const uint8_t* in, uint8_t* out, const uint8_t* previous, size_t length) {
  size_t i = 0;
  for (; i + 16 <= length; i += 16) {
    __m128i row = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + i));
    __m128i above = _mm_loadu_si128(reinterpret_cast<const __m128i*>(previous + i));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm_add_epi8(row, above));
  }
  for (; i < length; ++i)
    out[i] = static_cast<uint8_t>(in[i] + previous[i]);
}

template <size_t bpp>
bool unfilterPixels(uint8_t filter, const uint8_t* in, uint8_t* out, const uint8_t* previous,
                    size_t length) {
  switch (filter) {
    case kSub:
      unfilterSub<bpp>(in, out, length);
      return true;
    case kAverage:
      unfilterAverage<bpp>(in, out, previous, length);
      return true;
    case kPaeth:
      unfilterPaeth<bpp>(in, out, previous, length);
      return true;
    default:
      return false;
  }
}

#endif

}  // namespace

bool unfilterRow(uint8_t filter, const uint8_t* in, uint8_t* out, const uint8_t* previous,
                 size_t length, size_t bytesPerPixel) {
  if (filter > kPaeth) return false;
  if (filter == kNone) {
    if (out != in) std::memcpy(out, in, length);
    return true;
  }
#if defined(__SSE2__)
  if (filter == kUp) return unfilterUp(in, out, previous, length), true;
  if (bytesPerPixel == 4) return unfilterPixels<4>(filter, in, out, previous, length);
  if (bytesPerPixel == 3) return unfilterPixels<3>(filter, in, out, previous, length);
#endif
  unfilterBytes(filter, in, out, previous, length, bytesPerPixel);
  return true;
}

}  // namespace png_rows
