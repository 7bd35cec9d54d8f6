#include "platform/graphics/bitmap_context.h"

#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int kMaxContextDimension = 16384;

// The source pixels each destination pixel of a line covers, and the share of the destination
// pixel each covers (the shares of a fully covered pixel add up to 1). Every destination pixel
// gets the same number of taps, padded with zero shares, so the loops over them have a fixed
// length and predictable branches.
struct Taps {
  int width = 0;                 // taps per destination pixel
  std::vector<int> firstSource;  // per destination pixel; -1 where the rectangle does not reach
  std::vector<float> weights;    // width per destination pixel
};

// For destination pixels [0, destinationSize) and source pixels [0, sourceSize) drawn over
// [origin, origin + extent): source pixel k covers [origin + k·step, origin + (k+1)·step).
Taps tapsAlong(int destinationSize, int sourceSize, double origin, double extent) {
  const double step = extent / sourceSize;
  struct Covered {
    double from, to;
    int first, last;
  };
  std::vector<Covered> covered(destinationSize, {0, 0, -1, -1});
  Taps taps;
  for (int d = 0; d < destinationSize; ++d) {
    double from = std::max<double>(d, origin), to = std::min<double>(d + 1, origin + extent);
    if (to <= from) continue;
    int first = std::clamp(static_cast<int>(std::floor((from - origin) / step)), 0, sourceSize - 1);
    int last =
        std::clamp(static_cast<int>(std::ceil((to - origin) / step)) - 1, first, sourceSize - 1);
    covered[d] = {from, to, first, last};
    taps.width = std::max(taps.width, last - first + 1);
  }
  taps.firstSource.assign(destinationSize, -1);
  taps.weights.assign(size_t(destinationSize) * taps.width, 0.0f);
  for (int d = 0; d < destinationSize; ++d) {
    const Covered& c = covered[d];
    if (c.first < 0) continue;
    // Start early enough that the padded taps stay inside the source.
    int start = std::max(0, std::min(c.first, sourceSize - taps.width));
    taps.firstSource[d] = start;
    for (int k = c.first; k <= c.last; ++k) {
      double overlap =
          std::min(c.to, origin + (k + 1) * step) - std::max(c.from, origin + k * step);
      taps.weights[size_t(d) * taps.width + (k - start)] =
          static_cast<float>(std::max(overlap, 0.0));
    }
  }
  return taps;
}

bool isWhole(double value) {
  return value == std::floor(value);
}

// line = Σ weights[t] · rows[t], over whole rows of bytes: the hottest loop of scaling, built
// for AVX2 too and chosen by the processor at load. Taps are taken four at a time so that the
// line is read and written once per four source rows. The choice runs while the loader relocates,
// before the thread sanitizer is set up, and would crash in its instrumented code: that build
// takes the plain loop.
#ifdef __SANITIZE_THREAD__
#define VITREL_ROW_SUM_CLONES
#else
#define VITREL_ROW_SUM_CLONES __attribute__((target_clones("avx2", "default")))
#endif
VITREL_ROW_SUM_CLONES void weightedRowSum(float* line, size_t length, const uint8_t* const* rows,
                                          const float* weights, int count) {
  std::fill(line, line + length, 0.0f);
  int t = 0;
  for (; t + 4 <= count; t += 4) {
    const uint8_t *a = rows[t], *b = rows[t + 1], *c = rows[t + 2], *d = rows[t + 3];
    const float wa = weights[t], wb = weights[t + 1], wc = weights[t + 2], wd = weights[t + 3];
    for (size_t i = 0; i < length; ++i) {
      line[i] += wa * a[i] + wb * b[i] + wc * c[i] + wd * d[i];
    }
  }
  for (; t < count; ++t) {
    const uint8_t* a = rows[t];
    const float wa = weights[t];
    for (size_t i = 0; i < length; ++i)
      line[i] += wa * a[i];
  }
}

// The four channels, rounded to the nearest byte and clamped, as the pixel's packed bytes.
uint32_t packedBytes(__m128 sum) {
  __m128 value = _mm_add_ps(sum, _mm_set1_ps(0.5f));
  value = _mm_min_ps(_mm_max_ps(value, _mm_setzero_ps()), _mm_set1_ps(255.0f));
  __m128i whole = _mm_cvttps_epi32(value);
  whole = _mm_packs_epi32(whole, whole);
  return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(whole, whole)));
}

// dst = src + dst·(1 − srcAlpha), on premultiplied bytes.
void composite(uint8_t* destination, const uint8_t source[4]) {
  unsigned remaining = 255u - source[3];
  for (int c = 0; c < 4; ++c) {
    destination[c] =
        static_cast<uint8_t>(std::min(255u, source[c] + (destination[c] * remaining + 127) / 255));
  }
}

}  // namespace

std::optional<CGBitmapContext> CGBitmapContext::create(int width, int height, ColorModel model) {
  if (model != ColorModel::rgb) return std::nullopt;
  if (width <= 0 || height <= 0 || width > kMaxContextDimension || height > kMaxContextDimension) {
    return std::nullopt;
  }
  try {
    return CGBitmapContext(width, height);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

CGBitmapContext::CGBitmapContext(int width, int height)
    : width_(width), height_(height), data_(4 * size_t(width) * size_t(height), 0) {}

void CGBitmapContext::drawImage(const Bitmap& image, const CGRect& rect) {
  if (image.empty() || data_.empty() || rect.isEmpty()) return;
  const CGRect area{{rect.minX(), rect.minY()}, {rect.width(), rect.height()}};
  if (isWhole(area.origin.x) && isWhole(area.origin.y) && area.size.width == image.width() &&
      area.size.height == image.height()) {
    drawUnscaled(image, static_cast<int>(area.origin.x), static_cast<int>(area.origin.y));
  } else {
    drawScaled(image, area);
  }
  pristine_ = false;
}

// Pixel for pixel: a copy where nothing was drawn before, else source-over.
void CGBitmapContext::drawUnscaled(const Bitmap& image, int left, int top) {
  int fromX = std::max(0, -left), toX = std::min(image.width(), width_ - left);
  int fromY = std::max(0, -top), toY = std::min(image.height(), height_ - top);
  if (fromX >= toX || fromY >= toY) return;
  for (int y = fromY; y < toY; ++y) {
    const uint8_t* source = image.pixel(fromX, y);
    uint8_t* destination = data_.data() + 4 * ((size_t(y) + top) * width_ + fromX + left);
    if (pristine_) {
      std::memcpy(destination, source, 4 * size_t(toX - fromX));
      continue;
    }
    for (int x = fromX; x < toX; ++x, source += 4, destination += 4)
      composite(destination, source);
  }
}

// Area averaging, separable: the source rows are first reduced to the destination's rows (a
// weighted sum of whole rows, which vectorises), then each reduced row to the destination's
// columns. Sums are single-precision; the result is rounded to the nearest byte.
void CGBitmapContext::drawScaled(const Bitmap& image, const CGRect& area) {
  using Pixel = float __attribute__((vector_size(16)));  // the 4 channels of one pixel
  const Taps columns = tapsAlong(width_, image.width(), area.origin.x, area.size.width);
  const Taps rows = tapsAlong(height_, image.height(), area.origin.y, area.size.height);
  const size_t lineLength = 4 * size_t(image.width());
  std::vector<Pixel> line(image.width());
  std::vector<const uint8_t*> sourceRows(rows.width);
  for (int y = 0; y < height_; ++y) {
    if (rows.firstSource[y] < 0) continue;
    for (int t = 0; t < rows.width; ++t)
      sourceRows[t] = image.pixel(0, rows.firstSource[y] + t);
    weightedRowSum(reinterpret_cast<float*>(line.data()), lineLength, sourceRows.data(),
                   rows.weights.data() + size_t(y) * rows.width, rows.width);
    uint8_t* out = data_.data() + 4 * size_t(y) * width_;
    for (int x = 0; x < width_; ++x) {
      if (columns.firstSource[x] < 0) continue;
      Pixel sum = {0, 0, 0, 0};
      const Pixel* pixel = line.data() + columns.firstSource[x];
      const float* weights = columns.weights.data() + size_t(x) * columns.width;
      for (int t = 0; t < columns.width; ++t)
        sum += weights[t] * pixel[t];
      uint32_t value = packedBytes(reinterpret_cast<__m128>(sum));
      if (pristine_) {
        std::memcpy(out + 4 * size_t(x), &value, 4);
      } else {
        composite(out + 4 * size_t(x), reinterpret_cast<const uint8_t*>(&value));
      }
    }
  }
}
