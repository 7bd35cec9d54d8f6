#include "platform/uikit/rendering/internal/blur.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace rendering {

namespace {

// The downsampled blur keeps about this many of its own pixels per sigma, enough for a
// smooth result once scaled back up.
constexpr double kPixelsPerSigma = 3;
constexpr int kPasses = 3;

// Three box passes of radius r make a variance of r(r + 1).
int boxRadiusFor(double sigma) {
  return std::max(0, static_cast<int>(std::lround(std::sqrt(sigma * sigma + 0.25) - 0.5)));
}

// One box pass over a line of n pixels of `channels` bytes each, `step` bytes apart, with
// edge pixels extended.
void blurLine(uint8_t* line, int n, ptrdiff_t step, int channels, int radius,
              std::vector<uint8_t>& padded) {
  // The line with its edge pixels repeated past both ends, so the window never leaves it.
  const int reach = radius + 1;
  padded.resize(size_t(n + 2 * reach) * channels);
  for (int i = -reach; i < n + reach; ++i) {
    std::copy_n(line + std::clamp(i, 0, n - 1) * step, channels,
                &padded[size_t(i + reach) * channels]);
  }
  const int window = 2 * radius + 1;
  for (int c = 0; c < channels; ++c) {
    const uint8_t* at = padded.data() + reach * channels + c;  // at[i * channels]: pixel i
    int sum = 0;
    for (int i = -radius; i <= radius; ++i)
      sum += at[i * channels];
    for (int i = 0; i < n; ++i) {
      line[i * step + c] = static_cast<uint8_t>((sum + window / 2) / window);
      sum += at[(i + radius + 1) * channels] - at[(i - radius) * channels];
    }
  }
}

void boxBlur(uint8_t* data, int width, int height, int stride, int channels, int radius) {
  if (radius <= 0 || width <= 0 || height <= 0) return;
  std::vector<uint8_t> copy;
  for (int pass = 0; pass < kPasses; ++pass) {
    for (int y = 0; y < height; ++y)
      blurLine(data + ptrdiff_t(y) * stride, width, channels, channels, radius, copy);
    for (int x = 0; x < width; ++x)
      blurLine(data + ptrdiff_t(x) * channels, height, stride, channels, radius, copy);
  }
}

// Adds each byte of a line of pixels (or only each alpha byte) to its running sum.
void addLine(const unsigned char* line, int width, bool alphaOnly, unsigned* sums) {
  if (alphaOnly) {
    for (int x = 0; x < width; ++x)
      sums[x] += loadPixel(line + 4 * x) >> 24;
  } else {
    for (int i = 0; i < 4 * width; ++i)
      sums[i] += line[i];
  }
}

// Averages factor × factor blocks of source's pixels in area (alpha only, or all four bytes)
// into the small surface at (pad, pad): lines are summed first, then the runs of each sum.
void downsample(cairo_surface_t* source, const PixelRect& sourceArea, const PixelRect& area,
                int factor, cairo_surface_t* small, int pad, bool alphaOnly) {
  const unsigned char* data = cairo_image_surface_get_data(source);
  int stride = cairo_image_surface_get_stride(source);
  unsigned char* out = cairo_image_surface_get_data(small);
  int outStride = cairo_image_surface_get_stride(small);
  const int channels = alphaOnly ? 1 : 4;
  int rows = (area.height + factor - 1) / factor;
  std::vector<unsigned> sums(size_t(area.width) * channels);
  for (int row = 0; row < rows; ++row) {
    std::fill(sums.begin(), sums.end(), 0u);
    int top = area.y + row * factor, bottom = std::min(top + factor, area.bottom());
    for (int y = top; y < bottom; ++y) {
      addLine(data + ptrdiff_t(y - sourceArea.y) * stride + 4 * ptrdiff_t(area.x - sourceArea.x),
              area.width, alphaOnly, sums.data());
    }
    unsigned char* outPixel = out + ptrdiff_t(row + pad) * outStride + pad * channels;
    for (int left = 0; left < area.width; left += factor, outPixel += channels) {
      int right = std::min(left + factor, area.width);
      unsigned count = unsigned(right - left) * unsigned(bottom - top);
      for (int c = 0; c < channels; ++c) {
        unsigned sum = 0;
        for (int x = left; x < right; ++x)
          sum += sums[size_t(x) * channels + c];
        outPixel[c] = static_cast<unsigned char>((sum + count / 2) / count);
      }
    }
  }
}

}  // namespace

BlurredImage blurArea(cairo_surface_t* source, const PixelRect& sourceArea, const PixelRect& area,
                      double sigma, bool alphaOnly) {
  BlurredImage image;
  if (area.empty() || area.intersection(sourceArea).width != area.width ||
      area.intersection(sourceArea).height != area.height || !(sigma >= 0)) {
    return image;
  }
  int factor = std::clamp(static_cast<int>(sigma / kPixelsPerSigma), 1, 64);
  int radius = boxRadiusFor(sigma / factor);
  // Alpha-only blurs spread past the area into a transparent margin: the reach of three passes.
  int pad = alphaOnly ? kPasses * radius : 0;
  int columns = (area.width + factor - 1) / factor + 2 * pad;
  int rows = (area.height + factor - 1) / factor + 2 * pad;
  SurfaceHandle small(
      cairo_image_surface_create(alphaOnly ? CAIRO_FORMAT_A8 : CAIRO_FORMAT_ARGB32, columns, rows));
  if (cairo_surface_status(small.get()) != CAIRO_STATUS_SUCCESS) return image;
  cairo_surface_flush(source);
  cairo_surface_flush(small.get());
  downsample(source, sourceArea, area, factor, small.get(), pad, alphaOnly);
  boxBlur(cairo_image_surface_get_data(small.get()), columns, rows,
          cairo_image_surface_get_stride(small.get()), alphaOnly ? 1 : 4, radius);
  cairo_surface_mark_dirty(small.get());
  image.surface = std::move(small);
  image.originX = area.x - pad * factor;
  image.originY = area.y - pad * factor;
  image.factor = factor;
  return image;
}

PatternHandle blurredPattern(const BlurredImage& image, double dx, double dy) {
  PatternHandle pattern(cairo_pattern_create_for_surface(image.surface.get()));
  // Device pixel p shows pattern pixel (p − origin − shift) / factor.
  cairo_matrix_t matrix;
  cairo_matrix_init_scale(&matrix, 1.0 / image.factor, 1.0 / image.factor);
  cairo_matrix_translate(&matrix, -(image.originX + dx), -(image.originY + dy));
  cairo_pattern_set_matrix(pattern.get(), &matrix);
  cairo_pattern_set_filter(pattern.get(), CAIRO_FILTER_BILINEAR);
  bool alphaOnly = cairo_image_surface_get_format(image.surface.get()) == CAIRO_FORMAT_A8;
  cairo_pattern_set_extend(pattern.get(), alphaOnly ? CAIRO_EXTEND_NONE : CAIRO_EXTEND_PAD);
  return pattern;
}

void saturatePixels(cairo_surface_t* surface, double amount) {
  cairo_surface_flush(surface);
  unsigned char* data = cairo_image_surface_get_data(surface);
  if (!data) return;
  int width = cairo_image_surface_get_width(surface);
  int height = cairo_image_surface_get_height(surface);
  int stride = cairo_image_surface_get_stride(surface);
  for (int y = 0; y < height; ++y) {
    unsigned char* row = data + ptrdiff_t(y) * stride;
    for (int x = 0; x < width; ++x) {
      uint32_t pixel = loadPixel(row + 4 * x);
      int alpha = int(pixel >> 24);
      int red = (pixel >> 16) & 255, green = (pixel >> 8) & 255, blue = pixel & 255;
      // Rec. 709 luma; premultiplied channels must stay within 0…alpha.
      double luma = 0.2126 * red + 0.7152 * green + 0.0722 * blue;
      auto push = [&](int channel) {
        return uint32_t(std::clamp(std::lround(luma + (channel - luma) * amount), 0L, long(alpha)));
      };
      storePixel(row + 4 * x,
                 uint32_t(alpha) << 24 | push(red) << 16 | push(green) << 8 | push(blue));
    }
  }
  cairo_surface_mark_dirty(surface);
}

}  // namespace rendering
