#pragma once

#include <filesystem>
#include <string>
#include <vector>

// Real icon artwork for tests and benchmarks: app icons of Debian's papirus-icon-theme,
// rasterised with rsvg-convert (librsvg2-bin) at the size asked for and cached in the build
// folder, so runs after the first read PNG files only. The set is fixed and varied (warm,
// cool, grey, dark, gradient-heavy icons), so results are repeatable.
namespace icon_set {

struct Icon {
  std::string name;
  std::filesystem::path png;
};

// Up to `count` icons rasterised at size × size pixels, always the same ones in the same order.
// Fails the calling test (or aborts a benchmark) with the reason when the theme or the
// rasteriser is missing.
std::vector<Icon> realIcons(int size, size_t count = 64);

}  // namespace icon_set
