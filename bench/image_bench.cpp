// Drawing decoded icons into working bitmaps: the first step of every colour method (decoding
// is in png_bench).
#include <benchmark/benchmark.h>

#include "icon_set.h"
#include "platform/graphics/bitmap_context.h"
#include "platform/graphics/png.h"

namespace {

std::vector<Bitmap> decodedIcons(int size) {
  std::vector<Bitmap> bitmaps;
  for (const auto& icon : icon_set::realIcons(size, 32))
    bitmaps.push_back(readPNG(icon.png).value());
  return bitmaps;
}

// Drawing an icon of range(0) pixels into a range(1) square context, per icon.
void BM_DrawImage(benchmark::State& state) {
  std::vector<Bitmap> icons = decodedIcons(static_cast<int>(state.range(0)));
  int side = static_cast<int>(state.range(1));
  size_t i = 0;
  for (auto _ : state) {
    auto context = CGBitmapContext::create(side, side);
    context->drawImage(icons[i++ % icons.size()], CGRectMake(0, 0, side, side));
    benchmark::DoNotOptimize(context->data());
  }
}
BENCHMARK(BM_DrawImage)
    ->Args({180, 44})
    ->Args({180, 180})
    ->Args({180, 1})
    ->Args({180, 9})
    ->Args({180, 100})
    ->Args({1024, 44})
    ->Args({1024, 1024})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
