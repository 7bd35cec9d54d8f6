#pragma once

// Images and maxima small enough to read, for the palette cube's tests.

#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "platform/graphics/ui_image.h"
#include "source/colors/palette_cube.h"

using Pixel = std::array<uint8_t, 4>;

inline Pixel opaque(uint8_t red, uint8_t green, uint8_t blue) {
  return {red, green, blue, 255};
}

// One row of pixels: each pixel repeated as often as its run says.
inline Ref<UIImage> strip(std::initializer_list<std::pair<Pixel, int>> runs) {
  std::vector<uint8_t> bytes;
  for (const auto& [pixel, length] : runs) {
    for (int i = 0; i < length; ++i)
      bytes.insert(bytes.end(), pixel.begin(), pixel.end());
  }
  int width = static_cast<int>(bytes.size() / 4);
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(width, 1, std::move(bytes)));
}

// The smallest byte whose channel value falls in the bin.
inline uint8_t byteInBin(int bin) {
  int byte = 0;
  while (static_cast<int>(byte / 255.0 * 29) < bin)
    ++byte;
  return static_cast<uint8_t>(byte);
}

inline Pixel inCell(int ri, int gi, int bi) {
  return opaque(byteInBin(ri), byteInBin(gi), byteInBin(bi));
}

inline uint32_t cellIndex(int ri, int gi, int bi) {
  return static_cast<uint32_t>(ri + 30 * gi + 900 * bi);
}

inline PCLocalMaximum maximumOf(double red, double green, double blue, uint32_t hits = 1) {
  return {hits, 0, red, green, blue, std::max({red, green, blue})};
}

// One field of every maximum, in order.
template <class Field>
inline std::vector<Field> each(const std::vector<PCLocalMaximum>& maxima,
                               Field PCLocalMaximum::*field) {
  std::vector<Field> values;
  for (const PCLocalMaximum& maximum : maxima)
    values.push_back(maximum.*field);
  return values;
}

inline std::vector<double> reds(const std::vector<PCLocalMaximum>& maxima) {
  return each(maxima, &PCLocalMaximum::red);
}

inline std::vector<uint32_t> cellsOf(const std::vector<PCLocalMaximum>& maxima) {
  return each(maxima, &PCLocalMaximum::cellIndex);
}

inline std::vector<PCLocalMaximum> maximaOf(PCPaletteCube& cube, const UIImage* image,
                                            PCFlags flags) {
  return cube.findLocalMaximaInImage(image, flags).value();
}
