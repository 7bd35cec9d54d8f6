#include <benchmark/benchmark.h>

#include <cstdint>
#include <vector>

#include "platform/graphics/bitmap.h"

namespace {

// A 180 px icon's worth of straight RGBA: mostly opaque, with soft and clear edges.
std::vector<uint8_t> straightIcon() {
  constexpr int kSide = 180;
  std::vector<uint8_t> pixels(4 * kSide * kSide);
  for (size_t i = 0; i < pixels.size(); i += 4) {
    size_t pixel = i / 4;
    pixels[i] = uint8_t(pixel * 7);
    pixels[i + 1] = uint8_t(pixel * 13);
    pixels[i + 2] = uint8_t(pixel * 29);
    pixels[i + 3] = pixel % 9 == 0 ? 0 : pixel % 5 == 0 ? uint8_t(pixel) : 255;
  }
  return pixels;
}

// The loop as it was: a division per channel, opaque pixels skipped.
void premultiplyByDivision(std::vector<uint8_t>& pixels) {
  for (size_t i = 0; i + 3 < pixels.size(); i += 4) {
    unsigned alpha = pixels[i + 3];
    if (alpha == 255) continue;
    for (size_t c = 0; c < 3; ++c)
      pixels[i + c] = uint8_t((pixels[i + c] * alpha + 127) / 255);
  }
}

void BM_PremultiplyBaseline(benchmark::State& state) {
  const std::vector<uint8_t> icon = straightIcon();
  for (auto _ : state) {
    std::vector<uint8_t> pixels = icon;
    premultiplyByDivision(pixels);
    benchmark::DoNotOptimize(pixels.data());
  }
}
BENCHMARK(BM_PremultiplyBaseline);

void BM_Premultiply(benchmark::State& state) {
  const std::vector<uint8_t> icon = straightIcon();
  for (auto _ : state) {
    Bitmap bitmap = Bitmap::fromStraightAlpha(180, 180, icon);
    benchmark::DoNotOptimize(bitmap.pixels());
  }
}
BENCHMARK(BM_Premultiply);

}  // namespace
