#include "palette_cube_reference.h"

#include <algorithm>
#include <cmath>

#include "platform/graphics/bitmap_context.h"

namespace palette_cube_reference {
namespace {

int cellIndex(int ri, int gi, int bi) {
  return ri + 30 * gi + 900 * bi;
}

double distance(const PCLocalMaximum& m, double red, double green, double blue) {
  double dr = m.red - red, dg = m.green - green, db = m.blue - blue;
  return std::sqrt(dr * dr + dg * dg + db * db);
}

std::optional<std::vector<uint8_t>> rawPixelData(const UIImage* image, uint32_t* pixelCount) {
  *pixelCount = 0;
  if (!image || image->bitmap().empty()) return std::vector<uint8_t>();
  int width = image->bitmap().width(), height = image->bitmap().height();
  auto context = CGBitmapContext::create(width, height);
  if (!context) return std::nullopt;
  context->drawImage(image->bitmap(), CGRectMake(0, 0, width, height));
  *pixelCount = uint32_t(width) * uint32_t(height);
  return context->takeData();
}

std::vector<PCLocalMaximum> filterDistinct(const std::vector<PCLocalMaximum>& maxima,
                                           double threshold) {
  std::vector<PCLocalMaximum> kept;
  for (size_t i = 0; i < maxima.size(); ++i) {
    bool dropped = false;
    for (size_t j = 0; j < i; ++j) {
      if (distance(maxima[i], maxima[j].red, maxima[j].green, maxima[j].blue) < threshold) {
        dropped = true;
      }
    }
    if (!dropped) kept.push_back(maxima[i]);
  }
  return kept;
}

std::vector<PCLocalMaximum> filterNear(const std::vector<PCLocalMaximum>& maxima, double red,
                                       double green, double blue) {
  std::vector<PCLocalMaximum> kept;
  for (const PCLocalMaximum& m : maxima) {
    if (distance(m, red, green, blue) >= 0.5) kept.push_back(m);
  }
  return kept;
}

std::vector<PCLocalMaximum> filterNear(const std::vector<PCLocalMaximum>& maxima,
                                       const UIColor* color) {
  RGBA rgba = *color->color().rgba();
  return filterNear(maxima, rgba.red, rgba.green, rgba.blue);
}

}  // namespace

std::vector<PCLocalMaximum> PaletteCube::performAdaptiveDistinctFilteringForMaxima(
    const std::vector<PCLocalMaximum>& maxima, uint64_t count) {
  if (maxima.size() <= count) return maxima;
  std::vector<PCLocalMaximum> current = maxima;
  double threshold = 0.1;
  for (int round = 0; round < 10; ++round) {
    std::vector<PCLocalMaximum> filtered = filterDistinct(current, threshold);
    if (filtered.size() <= count) break;
    current = filtered;
    threshold += 0.05;
  }
  return std::vector<PCLocalMaximum>(current.begin(), current.begin() + count);
}

namespace {

std::vector<Ref<UIColor>> colors(const std::vector<PCLocalMaximum>& maxima) {
  std::vector<Ref<UIColor>> result;
  for (const PCLocalMaximum& m : maxima) {
    result.push_back(UIColor::colorWithRed(m.red, m.green, m.blue, 1));
  }
  return result;
}

}  // namespace

std::optional<std::vector<PCLocalMaximum>> PaletteCube::findLocalMaximaInImage(const UIImage* image,
                                                                               PCFlags flags) {
  std::fill(cells_.begin(), cells_.end(), PCCubeCell{0, 0, 0, 0});
  uint32_t pixelCount = 0;
  std::optional<std::vector<uint8_t>> pixels = rawPixelData(image, &pixelCount);
  if (!pixels) return std::nullopt;

  for (uint32_t i = 0; i < pixelCount; ++i) {
    double r = (*pixels)[4 * i] / 255.0;
    double g = (*pixels)[4 * i + 1] / 255.0;
    double b = (*pixels)[4 * i + 2] / 255.0;
    if (flags & PCFlagBrightOnly) {
      if (r < 0.6 && g < 0.6 && b < 0.6) continue;
    } else if (flags & PCFlagDarkOnly) {
      if (r >= 0.4 || g >= 0.4 || b >= 0.4) continue;
    }
    PCCubeCell& cell = cells_[cellIndex(int(r * 29), int(g * 29), int(b * 29))];
    cell.hitCount += 1;
    cell.redAcc += r;
    cell.greenAcc += g;
    cell.blueAcc += b;
  }

  std::vector<PCLocalMaximum> maxima;
  for (int ri = 0; ri < 30; ++ri) {
    for (int gi = 0; gi < 30; ++gi) {
      for (int bi = 0; bi < 30; ++bi) {
        const PCCubeCell& cell = cells_[cellIndex(ri, gi, bi)];
        if (cell.hitCount == 0) continue;
        bool isMaximum = true;
        for (int dr = -1; dr <= 1; ++dr) {
          for (int dg = -1; dg <= 1; ++dg) {
            for (int db = -1; db <= 1; ++db) {
              int r = ri + dr, g = gi + dg, b = bi + db;
              if (r < 0 || r > 29 || g < 0 || g > 29 || b < 0 || b > 29) continue;
              if (cells_[cellIndex(r, g, b)].hitCount > cell.hitCount) isMaximum = false;
            }
          }
        }
        if (!isMaximum) continue;
        PCLocalMaximum m;
        m.hitCount = cell.hitCount;
        m.cellIndex = uint32_t(cellIndex(ri, gi, bi));
        m.red = cell.redAcc / cell.hitCount;
        m.green = cell.greenAcc / cell.hitCount;
        m.blue = cell.blueAcc / cell.hitCount;
        m.brightness = std::max(m.red, std::max(m.green, m.blue));
        maxima.push_back(m);
      }
    }
  }
  std::stable_sort(maxima.begin(), maxima.end(),
                   [](const auto& a, const auto& b) { return a.hitCount > b.hitCount; });
  return maxima;
}

std::vector<PCLocalMaximum> PaletteCube::findAndSortMaximaInImage(const UIImage* image,
                                                                  PCFlags flags) {
  std::vector<PCLocalMaximum> maxima =
      findLocalMaximaInImage(image, flags).value_or(std::vector<PCLocalMaximum>());
  if (flags & PCFlagDistinctOnly) maxima = filterDistinct(maxima, 0.2);
  if (flags & PCFlagOrderByBrightness) {
    std::stable_sort(maxima.begin(), maxima.end(),
                     [](const auto& a, const auto& b) { return a.brightness > b.brightness; });
  } else if (flags & PCFlagOrderByDarkness) {
    std::stable_sort(maxima.begin(), maxima.end(),
                     [](const auto& a, const auto& b) { return a.brightness < b.brightness; });
  }
  return maxima;
}

std::vector<PCLocalMaximum> PaletteCube::extractAndFilterMaximaFromImage(const UIImage* image,
                                                                         PCFlags flags) {
  std::vector<PCLocalMaximum> maxima = findAndSortMaximaInImage(image, flags);
  if (flags & PCFlagAvoidBlack) maxima = filterNear(maxima, 0, 0, 0);
  if (flags & PCFlagAvoidWhite) maxima = filterNear(maxima, 1, 1, 1);
  return maxima;
}

std::vector<Ref<UIColor>> PaletteCube::extractColorsFromImage(const UIImage* image, PCFlags flags) {
  return colors(extractAndFilterMaximaFromImage(image, flags));
}

std::vector<Ref<UIColor>> PaletteCube::extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                              const UIColor* avoidColor) {
  std::vector<PCLocalMaximum> maxima = extractAndFilterMaximaFromImage(image, flags);
  if (avoidColor) maxima = filterNear(maxima, avoidColor);
  return colors(maxima);
}

std::vector<Ref<UIColor>> PaletteCube::extractBrightColorsFromImage(const UIImage* image,
                                                                    const UIColor* avoidColor,
                                                                    uint64_t count) {
  std::vector<PCLocalMaximum> maxima = findAndSortMaximaInImage(image, PCFlagBrightOnly);
  if (avoidColor) maxima = filterNear(maxima, avoidColor);
  return colors(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}

std::vector<Ref<UIColor>> PaletteCube::extractDarkColorsFromImage(const UIImage* image,
                                                                  const UIColor* avoidColor,
                                                                  uint64_t count) {
  std::vector<PCLocalMaximum> maxima = findAndSortMaximaInImage(image, PCFlagDarkOnly);
  if (avoidColor) maxima = filterNear(maxima, avoidColor);
  return colors(performAdaptiveDistinctFilteringForMaxima(maxima, count));
}

std::vector<Ref<UIColor>> PaletteCube::extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                              uint64_t count) {
  return colors(performAdaptiveDistinctFilteringForMaxima(
      extractAndFilterMaximaFromImage(image, flags), count));
}

}  // namespace palette_cube_reference
