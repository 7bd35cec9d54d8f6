// The image category's colours: what every long-press on an icon pays when the dominant colour
// is the chosen method. Icons are 60 points at the scale that gives range(0) pixels.
#include <benchmark/benchmark.h>

#include "icon_set.h"
#include "platform/foundation/file_io.h"
#include "platform/graphics/png.h"
#include "source/colors/image_quenby.h"

namespace {

double scaleFor(int pixels) {
  return pixels / 60.0;
}

std::vector<Ref<UIImage>> icons(int pixels) {
  std::vector<Ref<UIImage>> images;
  for (const auto& icon : icon_set::realIcons(pixels, 32)) {
    images.push_back(UIImage::imageWithBitmap(readPNG(icon.png).value(), scaleFor(pixels)));
  }
  return images;
}

void BM_DominantColor(benchmark::State& state) {
  auto images = icons(static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state)
    benchmark::DoNotOptimize(mirraDominantColor(images[i++ % images.size()].get()));
}
BENCHMARK(BM_DominantColor)->Arg(60)->Arg(180)->Arg(1024)->Unit(benchmark::kMicrosecond);

void BM_SecondDominantColor(benchmark::State& state) {
  auto images = icons(static_cast<int>(state.range(0)));
  size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(mirraSecondDominantColor(images[i++ % images.size()].get()));
  }
}
BENCHMARK(BM_SecondDominantColor)->Arg(180)->Unit(benchmark::kMicrosecond);

// From the PNG file's bytes in memory to the colour.
void BM_DominantColorIncludingDecoding(benchmark::State& state) {
  int pixels = static_cast<int>(state.range(0));
  std::vector<std::string> files;
  for (const auto& icon : icon_set::realIcons(pixels, 32)) {
    files.push_back(readFileBytes(icon.png, 1 << 26).value());
  }
  size_t i = 0;
  for (auto _ : state) {
    auto image =
        UIImage::imageWithBitmap(decodePNG(files[i++ % files.size()]).value(), scaleFor(pixels));
    benchmark::DoNotOptimize(mirraDominantColor(image.get()));
  }
}
BENCHMARK(BM_DominantColorIncludingDecoding)
    ->Arg(60)
    ->Arg(180)
    ->Arg(1024)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
