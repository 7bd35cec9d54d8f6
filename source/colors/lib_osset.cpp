#include "source/colors/lib_osset.h"

#include "source/colors/lib_merrow.h"

namespace {

struct Detail {
  int32_t dimension, flexibility, range;
};

Detail detailOf(int32_t detail) {
  switch (detail) {
    case 0:
      return {4, 1, 100};
    case 2:
      return {100, 10, 20};
    default:
      return {10, 2, 60};
  }
}

}  // namespace

std::vector<libOsset::ColourShare> libOsset::mainColoursInImage(const UIImage* image,
                                                                int32_t detail) const {
  const Detail parameters = detailOf(detail);
  const std::vector<libMerrow::Key> picked = libMerrow::frequentDistinctKeys(
      image, parameters.dimension, parameters.flexibility, parameters.range);
  double total = 0;
  for (const libMerrow::Key& key : picked)
    total += key.count;
  std::vector<ColourShare> shares;
  shares.reserve(picked.size());
  for (const libMerrow::Key& key : picked) {
    shares.push_back(
        {UIColor::colorWithRed(key.red / 255.0, key.green / 255.0, key.blue / 255.0, 1),
         float(key.count / total)});
  }
  return shares;
}
