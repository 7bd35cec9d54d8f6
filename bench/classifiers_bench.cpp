// The three classifiers' cost per icon on real icon artwork (decoding excluded), each against its
// straightforward version (text keys in a table of counts), measured in the same run.
// Run: build/release/bin/colors_bench --benchmark_filter='Merrow|Tessel|Osset'
//        --benchmark_repetitions=10 --benchmark_report_aggregates_only=true
#include <benchmark/benchmark.h>

#include <vector>

#include "icon_rounds.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"
#include "source/colors/tessel.h"
#include "tests/source/colors/classifier_references.h"

namespace {

void BM_LibMerrowBackground(benchmark::State& state) {
  eachIcon(state, [](const UIImage* image) {
    benchmark::DoNotOptimize(libMerrow::backgroundColor(image));
  });
}
BENCHMARK(BM_LibMerrowBackground)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_LibMerrowPrimary(benchmark::State& state) {
  eachIcon(state,
           [](const UIImage* image) { benchmark::DoNotOptimize(libMerrow::primaryColor(image)); });
}
BENCHMARK(BM_LibMerrowPrimary)->Arg(60)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_LibMerrowPrimaryStraightforward(benchmark::State& state) {
  eachIcon(state, [](const UIImage* image) {
    benchmark::DoNotOptimize(reference::merrowColour(image, 1, 4, 1, 100));
  });
}
BENCHMARK(BM_LibMerrowPrimaryStraightforward)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_LibMerrowSecondary(benchmark::State& state) {
  eachIcon(state, [](const UIImage* image) {
    benchmark::DoNotOptimize(libMerrow::secondaryColor(image));
  });
}
BENCHMARK(BM_LibMerrowSecondary)->Arg(60)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_LibMerrowSecondaryStraightforward(benchmark::State& state) {
  eachIcon(state, [](const UIImage* image) {
    benchmark::DoNotOptimize(reference::merrowColour(image, 2, 9, 3, 90));
  });
}
BENCHMARK(BM_LibMerrowSecondaryStraightforward)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_TesselPrimary(benchmark::State& state) {
  eachIcon(state,
           [](const UIImage* image) { benchmark::DoNotOptimize(Tessel::getPrimaryColor(image)); });
}
BENCHMARK(BM_TesselPrimary)->Arg(60)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_TesselSecondary(benchmark::State& state) {
  eachIcon(state, [](const UIImage* image) {
    benchmark::DoNotOptimize(Tessel::getSecondaryColor(image));
  });
}
BENCHMARK(BM_TesselSecondary)->Arg(60)->Arg(180)->Unit(benchmark::kMicrosecond);

void BM_TesselSecondaryStraightforward(benchmark::State& state) {
  eachIcon(state, [](const UIImage* image) {
    benchmark::DoNotOptimize(reference::tesselColour(image, 2));
  });
}
BENCHMARK(BM_TesselSecondaryStraightforward)->Arg(180)->Unit(benchmark::kMicrosecond);

// range(1) is the detail level.
void BM_LibOsset(benchmark::State& state) {
  const libOsset osset;
  const auto detail = static_cast<int32_t>(state.range(1));
  eachIcon(state, [&](const UIImage* image) {
    benchmark::DoNotOptimize(osset.mainColoursInImage(image, detail));
  });
}
BENCHMARK(BM_LibOsset)
    ->Args({180, 0})
    ->Args({180, 1})
    ->Args({60, 2})
    ->Args({180, 2})
    ->Unit(benchmark::kMicrosecond);

void BM_LibOssetStraightforward(benchmark::State& state) {
  const auto detail = static_cast<int>(state.range(1));
  eachIcon(state, [&](const UIImage* image) {
    benchmark::DoNotOptimize(reference::mainColours(image, detail));
  });
}
BENCHMARK(BM_LibOssetStraightforward)->Args({180, 1})->Unit(benchmark::kMicrosecond);
// Seconds an icon: a few suffice.
BENCHMARK(BM_LibOssetStraightforward)->Args({180, 2})->Iterations(4)->Unit(benchmark::kMillisecond);

}  // namespace
