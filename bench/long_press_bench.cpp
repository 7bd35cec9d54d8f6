// A whole long-press on the sample home screen (colour capture, shortcut items, building the
// menu, entering the window, two layout passes), first by the host alone, then with the
// library injected and every styling setting on. The library cannot be unloaded, so the host's
// figure comes first: run the benchmarks in this order (no --benchmark_filter that reorders).
#include <benchmark/benchmark.h>
#include <dlfcn.h>
#include <stdlib.h>

#include "platform/foundation/device.h"
#include "platform/foundation/ns_number.h"
#include "platform/foundation/property_list.h"
#include "platform/springboard/home_screen.h"
#include "platform/springboard/host.h"

namespace {

const char* kStylingSwitches[] = {
    "renderMode",           "autoBackgroundColor",   "elegantBorder",
    "dynamicLabelColoring", "colorHSThinSeparators", "colorHSBoldSeparators",
    "HSapplySepThickness",  "HSapplySepWidth",       "hideHSBoldSep"};

void writeSettings(const std::filesystem::path& device) {
  NSDictionary::Entries entries = {{"cornerRadius", NSNumber::numberWithDouble(14)},
                                   {"borderThicknessHS", NSNumber::numberWithDouble(1.5)},
                                   {"septhickness", NSNumber::numberWithDouble(0.5)},
                                   {"sepWidth", NSNumber::numberWithDouble(4)}};
  for (const char* key : kStylingSwitches)
    entries[key] = NSNumber::numberWithBool(true);
  auto file = device / "var/jb/var/mobile/Library/Preferences/com.wyndle.vitrel3dtouch.plist";
  std::filesystem::create_directories(file.parent_path());
  writePropertyListAtomically(NSDictionary::from(entries).get(), file).value();
}

// The host and its home screen, made once for both benchmarks.
HomeScreen& homeScreen() {
  static HomeScreen* home = [] {
    std::string folder = (std::filesystem::temp_directory_path() / "vitrel-bench-XXXXXX").string();
    device::setDirectory(mkdtemp(folder.data()));
    writeSettings(folder);
    setUpHost({});
    auto catalogue = loadCatalogue(std::filesystem::path(VITREL_SAMPLES_DIR) / "catalogue.plist");
    static HomeScreen screen(std::make_shared<const AppCatalogue>(std::move(catalogue).value()));
    return &screen;
  }();
  return *home;
}

void longPresses(benchmark::State& state) {
  HomeScreen& home = homeScreen();
  SBIconView* icon = home.appIconView("com.vitrel.sample.photos");
  for (auto _ : state) {
    HomeScreen::OpenMenu menu = home.pressIcon(icon);  // runs the first pass
    home.layoutPass();
    menu.root->removeFromSuperview();
  }
}

// One more layout pass over the screen with the menu open.
void layoutPasses(benchmark::State& state) {
  HomeScreen& home = homeScreen();
  HomeScreen::OpenMenu menu = home.pressIcon(home.appIconView("com.vitrel.sample.photos"));
  for (auto _ : state)
    home.layoutPass();
  menu.root->removeFromSuperview();
}

bool inject(benchmark::State& state) {
  homeScreen();
  static void* library = dlopen(VITREL_LIBRARY_PATH, RTLD_NOW);
  if (!library) state.SkipWithError(dlerror());
  return library;
}

void BM_LongPressHostOnly(benchmark::State& state) {
  longPresses(state);
}
BENCHMARK(BM_LongPressHostOnly)->Unit(benchmark::kMicrosecond);

void BM_LayoutPassHostOnly(benchmark::State& state) {
  layoutPasses(state);
}
BENCHMARK(BM_LayoutPassHostOnly)->Unit(benchmark::kMicrosecond);

void BM_LongPressInjected(benchmark::State& state) {
  if (inject(state)) longPresses(state);
}
BENCHMARK(BM_LongPressInjected)->Unit(benchmark::kMicrosecond);

void BM_LayoutPassInjected(benchmark::State& state) {
  if (inject(state)) layoutPasses(state);
}
BENCHMARK(BM_LayoutPassInjected)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
