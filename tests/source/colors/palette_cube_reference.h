#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "source/colors/palette_cube.h"

// The palette cube written the plain way, step by step, to check the optimised one against:
// every cell cleared and visited, pixels drawn into a buffer first, no shortcuts. Its open
// orders are those PCPaletteCube documents (stable sorts after a red-green-blue visit).
namespace palette_cube_reference {

class PaletteCube {
 public:
  std::vector<Ref<UIColor>> extractColorsFromImage(const UIImage* image, PCFlags flags);
  std::vector<Ref<UIColor>> extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                   const UIColor* avoidColor);
  std::vector<Ref<UIColor>> extractBrightColorsFromImage(const UIImage* image,
                                                         const UIColor* avoidColor, uint64_t count);
  std::vector<Ref<UIColor>> extractDarkColorsFromImage(const UIImage* image,
                                                       const UIColor* avoidColor, uint64_t count);
  std::vector<Ref<UIColor>> extractColorsFromImage(const UIImage* image, PCFlags flags,
                                                   uint64_t count);
  std::optional<std::vector<PCLocalMaximum>> findLocalMaximaInImage(const UIImage* image,
                                                                    PCFlags flags);
  std::vector<PCLocalMaximum> findAndSortMaximaInImage(const UIImage* image, PCFlags flags);
  std::vector<PCLocalMaximum> extractAndFilterMaximaFromImage(const UIImage* image, PCFlags flags);
  static std::vector<PCLocalMaximum> performAdaptiveDistinctFilteringForMaxima(
      const std::vector<PCLocalMaximum>& maxima, uint64_t count);
  const PCCubeCell& cell(size_t index) const { return cells_[index]; }

 private:
  std::vector<PCCubeCell> cells_ = std::vector<PCCubeCell>(27000);
};

}  // namespace palette_cube_reference
