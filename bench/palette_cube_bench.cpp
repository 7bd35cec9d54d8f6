// The palette cube's cost per icon on real icon artwork (decoding excluded), against a bare pass
// that only counts every pixel into a 30 × 30 × 30 histogram, measured in the same run.
// Run: build/release/bin/colors_bench --benchmark_filter='PaletteCube|BareHistogram'
//        --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <algorithm>
#include <vector>

#include "icon_rounds.h"
#include "icon_set.h"
#include "source/colors/palette_cube.h"

namespace {

// The least any histogram of the pixels costs: clear it, then one increment a pixel.
void BM_BareHistogram(benchmark::State& state) {
  std::vector<uint32_t> histogram(27000);
  eachIcon(state, [&](const UIImage* image) {
    std::fill(histogram.begin(), histogram.end(), 0);
    const Bitmap& bitmap = image->bitmap();
    const uint8_t* pixel = bitmap.pixels();
    const size_t count = size_t(bitmap.width()) * size_t(bitmap.height());
    for (size_t i = 0; i < count; ++i, pixel += 4) {
      ++histogram[pixel[0] * 29 / 255 + 30 * (pixel[1] * 29 / 255) + 900 * (pixel[2] * 29 / 255)];
    }
    benchmark::DoNotOptimize(histogram.data());
    benchmark::ClobberMemory();
  });
}
BENCHMARK(BM_BareHistogram)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

// The per-app colorizer's call: the most frequent bright colour not near white.
void BM_PaletteCube_Flags33Count1(benchmark::State& state) {
  PCPaletteCube cube;
  eachIcon(state, [&](const UIImage* image) {
    auto colors =
        cube.extractColorsFromImage(image, PCFlagBrightOnly | PCFlagAvoidWhite, uint64_t{1});
    benchmark::DoNotOptimize(colors.data());
  });
}
BENCHMARK(BM_PaletteCube_Flags33Count1)
    ->Arg(60)
    ->Arg(180)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);

// The same with a new cube for every icon, as the colorizer creates one per extraction.
void BM_PaletteCube_Flags33Count1_NewCube(benchmark::State& state) {
  eachIcon(state, [&](const UIImage* image) {
    PCPaletteCube cube;
    auto colors =
        cube.extractColorsFromImage(image, PCFlagBrightOnly | PCFlagAvoidWhite, uint64_t{1});
    benchmark::DoNotOptimize(colors.data());
  });
}
BENCHMARK(BM_PaletteCube_Flags33Count1_NewCube)->Arg(180)->Unit(benchmark::kMicrosecond);

// Every maximum of every pixel, unfiltered: the most maxima and colours to make.
void BM_PaletteCube_AllColors(benchmark::State& state) {
  PCPaletteCube cube;
  eachIcon(state, [&](const UIImage* image) {
    auto colors = cube.extractColorsFromImage(image, 0);
    benchmark::DoNotOptimize(colors.data());
  });
}
BENCHMARK(BM_PaletteCube_AllColors)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

// Five colours spread apart: the adaptive distinct filtering at work.
void BM_PaletteCube_DistinctByBrightnessCount5(benchmark::State& state) {
  PCPaletteCube cube;
  eachIcon(state, [&](const UIImage* image) {
    auto colors =
        cube.extractColorsFromImage(image, PCFlagDistinctOnly | PCFlagOrderByBrightness, 5);
    benchmark::DoNotOptimize(colors.data());
  });
}
BENCHMARK(BM_PaletteCube_DistinctByBrightnessCount5)
    ->Arg(180)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);

// Four bright colours, none near the one given.
void BM_PaletteCube_BrightColorsCount4(benchmark::State& state) {
  PCPaletteCube cube;
  auto avoid = UIColor::colorWithRed(0.9, 0.3, 0.1, 1);
  eachIcon(state, [&](const UIImage* image) {
    auto colors = cube.extractBrightColorsFromImage(image, avoid.get(), 4);
    benchmark::DoNotOptimize(colors.data());
  });
}
BENCHMARK(BM_PaletteCube_BrightColorsCount4)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

}  // namespace
