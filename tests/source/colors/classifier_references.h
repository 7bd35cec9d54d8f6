#pragma once

// Straightforward versions of the three classifiers, written the way their procedures read
// (text keys in a table of counts, a stable sort of every key, a linear search of the kept
// list): the tests check the fast versions against them on real icons, and the benchmarks
// measure them as the baseline. Also image makers and a colour comparison for the tests.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "icon_set.h"
#include "platform/graphics/bitmap_context.h"
#include "source/colors/lib_merrow.h"
#include "source/colors/lib_osset.h"

namespace reference {

// The pixels of the image drawn into a dimension × dimension context; none without a context.
inline std::vector<uint8_t> drawn(const UIImage* image, int dimension) {
  auto context = CGBitmapContext::create(dimension, dimension);
  if (!context) return {};
  if (image) context->drawImage(image->bitmap(), CGRectMake(0, 0, dimension, dimension));
  return context->takeData();
}

// The picked keys of calculations 1 and 2, with their counts. Pixels are visited row by row;
// keys of equal count keep the order they were first produced in.
inline std::vector<libMerrow::Key> frequentDistinctKeys(const UIImage* image, int dimension,
                                                        int flexibility, int range) {
  std::vector<uint8_t> pixels = drawn(image, dimension);
  std::unordered_map<std::string, unsigned> counts;
  std::vector<std::string> firstProduced;
  const int width = 2 * flexibility + 1;
  counts.reserve(pixels.size() / 4 * width * 3);
  for (size_t at = 0; at < pixels.size(); at += 4) {
    std::vector<int> candidates[3];
    for (int channel = 0; channel < 3; ++channel) {
      for (int offset = -flexibility; offset <= flexibility; ++offset) {
        candidates[channel].push_back(std::max(pixels[at + channel] + offset, 0));
      }
    }
    int red = 0, green = 0, blue = 0;
    for (int n = 0; n < width * width * 3; ++n) {
      char key[40];
      std::snprintf(key, sizeof key, "%i,%i,%i", candidates[0][red], candidates[1][green],
                    candidates[2][blue]);
      auto [entry, inserted] = counts.try_emplace(key, 0);
      if (inserted) firstProduced.push_back(key);
      ++entry->second;
      if (++blue == width) {
        blue = 0;
        if (++green == width) {
          green = 0;
          if (++red == width) red = 0;
        }
      }
    }
  }
  std::vector<std::pair<std::string, unsigned>> ordered;
  for (const std::string& key : firstProduced)
    ordered.emplace_back(key, counts[key]);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.second > b.second; });
  std::vector<libMerrow::Key> picked;
  for (const auto& [key, count] : ordered) {
    int value[3];
    std::sscanf(key.c_str(), "%i,%i,%i", &value[0], &value[1], &value[2]);
    bool similar = false;
    for (const libMerrow::Key& other : picked) {
      similar = similar || (other.red - range <= value[0] && value[0] <= other.red + range &&
                            other.green - range <= value[1] && value[1] <= other.green + range &&
                            other.blue - range <= value[2] && value[2] <= other.blue + range);
    }
    if (!similar) picked.push_back({value[0], value[1], value[2], count});
  }
  return picked;
}

inline Ref<UIColor> merrowColour(const UIImage* image, int calculation, int dimension,
                                 int flexibility, int range) {
  if (calculation == 0) {
    std::vector<uint8_t> pixel = drawn(image, 1);
    double r = pixel[0], g = pixel[1], b = pixel[2], a = pixel[3];
    if (a > 0) {
      return UIColor::colorWithRed(r * (a / 255) / 255, g * (a / 255) / 255, b * (a / 255) / 255,
                                   a / 255);
    }
    return UIColor::colorWithRed(r / 255, g / 255, b / 255, 0);
  }
  if (calculation != 1 && calculation != 2) return UIColor::whiteColor();
  std::vector<libMerrow::Key> picked = frequentDistinctKeys(image, dimension, flexibility, range);
  if (picked.empty()) return nullptr;
  char text[40];
  std::snprintf(text, sizeof text, "%i", picked.back().red);
  float red = std::stof(text);
  std::snprintf(text, sizeof text, "%i", picked.back().green);
  float green = std::stof(text);
  std::snprintf(text, sizeof text, "%i", picked.back().blue);
  float blue = std::stof(text);
  return UIColor::colorWithRed(red / 255.0, green / 255.0, blue / 255.0, 1);
}

inline std::vector<libOsset::ColourShare> mainColours(const UIImage* image, int detail) {
  int dimension = 10, flexibility = 2, range = 60;
  if (detail == 0) dimension = 4, flexibility = 1, range = 100;
  if (detail == 2) dimension = 100, flexibility = 10, range = 20;
  std::vector<libMerrow::Key> picked = frequentDistinctKeys(image, dimension, flexibility, range);
  double total = 0;
  for (const libMerrow::Key& key : picked)
    total += key.count;
  std::vector<libOsset::ColourShare> shares;
  for (const libMerrow::Key& key : picked) {
    shares.push_back(
        {UIColor::colorWithRed(key.red / 255.0, key.green / 255.0, key.blue / 255.0, 1),
         float(key.count / total)});
  }
  return shares;
}

// Tessel's colour at `entry` of the distinct list, or its last entry when the list is shorter.
// Colours of equal count keep the order of their first pixel, row by row.
inline Ref<UIColor> tesselColour(const UIImage* image, size_t entry) {
  if (!image) return UIColor::whiteColor();
  const Bitmap& bitmap = image->bitmap();
  std::vector<uint8_t> pixels(4 * size_t(bitmap.width()) * bitmap.height(), 0);
  auto context = CGBitmapContext::create(bitmap.width(), bitmap.height(), bitmap.model());
  if (context) {
    context->drawImage(bitmap, CGRectMake(0, 0, bitmap.width(), bitmap.height()));
    pixels = context->takeData();
  }
  std::map<int32_t, unsigned> counts;
  std::vector<int32_t> firstSeen;
  for (size_t at = 0; at < pixels.size(); at += 4) {
    int r = pixels[at], g = pixels[at + 1], b = pixels[at + 2], a = pixels[at + 3];
    double lightness = (r / 255.0 + g / 255.0 + b / 255.0) / 2;
    if (a > 0 && lightness > 0.02) {
      int32_t key = r * 65536 + g * 256 + b;
      if (counts[key]++ == 0) firstSeen.push_back(key);
    }
  }
  std::vector<std::pair<int32_t, unsigned>> ordered;
  for (int32_t key : firstSeen)
    ordered.emplace_back(key, counts[key]);
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const auto& a, const auto& b) { return a.second < b.second; });
  std::vector<int32_t> distinct;
  for (const auto& [key, count] : ordered) {
    bool near = false;
    for (int32_t kept : distinct) {
      near = near || (std::abs(((kept >> 16) & 0xFF) - ((key >> 16) & 0xFF)) <= 10 &&
                      std::abs(((kept >> 8) & 0xFF) - ((key >> 8) & 0xFF)) <= 10 &&
                      std::abs((kept & 0xFF) - (key & 0xFF)) <= 10);
    }
    if (!near) distinct.push_back(key);
  }
  if (distinct.empty()) return UIColor::whiteColor();
  int32_t key = distinct[std::min(entry, distinct.size() - 1)];
  return UIColor::colorWithRed(((key >> 16) & 0xFF) / 255.0, ((key >> 8) & 0xFF) / 255.0,
                               (key & 0xFF) / 255.0, 1);
}

}  // namespace reference

namespace test_images {

struct Pixel {
  uint8_t red, green, blue, alpha = 255;
};

// A width × height image of premultiplied pixels given row by row.
inline Ref<UIImage> image(int width, int height, const std::vector<Pixel>& pixels,
                          ColorModel model = ColorModel::rgb) {
  std::vector<uint8_t> bytes;
  for (const Pixel& pixel : pixels)
    bytes.insert(bytes.end(), {pixel.red, pixel.green, pixel.blue, pixel.alpha});
  return UIImage::imageWithBitmap(Bitmap::fromPremultiplied(width, height, bytes, model));
}

inline Ref<UIImage> flat(int width, int height, Pixel pixel) {
  return image(width, height, std::vector<Pixel>(size_t(width) * height, pixel));
}

inline Ref<UIImage> withoutBitmap() {
  return UIImage::imageWithBitmap(Bitmap());
}

// Empty when both colours are nil, or both hold the same RGBA within tolerance; else what
// differs.
inline std::string colourDifference(const Ref<UIColor>& actual, const Ref<UIColor>& expected,
                                    double tolerance = 1e-9) {
  if (!actual || !expected) {
    if (!actual && !expected) return "";
    return actual ? "expected nil, got " + actual->descriptionText()
                  : "got nil, expected " + expected->descriptionText();
  }
  RGBA a = *actual->color().rgba(), e = *expected->color().rgba();
  if (std::abs(a.red - e.red) <= tolerance && std::abs(a.green - e.green) <= tolerance &&
      std::abs(a.blue - e.blue) <= tolerance && std::abs(a.alpha - e.alpha) <= tolerance) {
    return "";
  }
  return "got " + actual->descriptionText() + ", expected " + expected->descriptionText();
}

// Real icons rasterised at size × size, decoded.
inline std::vector<Ref<UIImage>> realIcons(int size, size_t count = 64) {
  std::vector<Ref<UIImage>> images;
  for (const icon_set::Icon& icon : icon_set::realIcons(size, count)) {
    Result<Ref<UIImage>> image = UIImage::imageWithContentsOfFile(icon.png);
    if (!image) throw std::runtime_error(icon.name + ": " + image.error());
    images.push_back(image.value());
  }
  return images;
}

// For EXPECT_TRUE: the colours agree, or what differs between them.
inline testing::AssertionResult sameColour(const Ref<UIColor>& actual,
                                           const Ref<UIColor>& expected) {
  std::string difference = colourDifference(actual, expected);
  if (difference.empty()) return testing::AssertionSuccess();
  return testing::AssertionFailure() << difference;
}

// A colour from channel bytes.
inline Ref<UIColor> rgb(double red, double green, double blue, double alpha = 1) {
  return UIColor::colorWithRed(red / 255, green / 255, blue / 255, alpha);
}

}  // namespace test_images
