#pragma once

#include <benchmark/benchmark.h>

#include <map>
#include <stdexcept>
#include <vector>

#include "icon_set.h"
#include "platform/graphics/ui_image.h"

// Real icon artwork at a size, decoded once before any timing: 32 icons, or 8 of the large ones.
inline const std::vector<Ref<UIImage>>& iconsAt(int size) {
  static std::map<int, std::vector<Ref<UIImage>>> cache;
  auto& icons = cache[size];
  if (icons.empty()) {
    for (const icon_set::Icon& icon : icon_set::realIcons(size, size >= 1024 ? 8 : 32)) {
      auto image = UIImage::imageWithContentsOfFile(icon.png);
      if (!image) throw std::runtime_error(image.error());
      icons.push_back(image.value());
    }
  }
  return icons;
}

// One icon per iteration, going round the set at the size state.range(0), so the time reported
// is the time per icon.
template <class Body>
void eachIcon(benchmark::State& state, Body body) {
  const auto& icons = iconsAt(static_cast<int>(state.range(0)));
  size_t next = 0;
  for (auto _ : state) {
    body(icons[next].get());
    if (++next == icons.size()) next = 0;
  }
  state.SetItemsProcessed(state.iterations());
}
