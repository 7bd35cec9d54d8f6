#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <utility>
#include <vector>

#include "icon_set.h"
#include "palette_cube_reference.h"
#include "palette_expectations.h"
#include "source/colors/palette_cube.h"

// The palette cube on real icon artwork: the same results as the straightforward version, and
// colours that keep their promises.

namespace {

double distance(const RGBA& a, const RGBA& b) {
  return std::sqrt((a.red - b.red) * (a.red - b.red) + (a.green - b.green) * (a.green - b.green) +
                   (a.blue - b.blue) * (a.blue - b.blue));
}

// Real icon artwork, at the sizes icons come in.
struct IconSizes {
  int size;
  size_t icons;
};

void PrintTo(const IconSizes& sizes, std::ostream* out) {
  *out << sizes.icons << " icons of " << sizes.size << " px";
}

class PaletteCubeRealIconTest : public testing::TestWithParam<IconSizes> {
 protected:
  std::vector<std::pair<std::string, Ref<UIImage>>> images() const {
    std::vector<std::pair<std::string, Ref<UIImage>>> images;
    for (const icon_set::Icon& icon : icon_set::realIcons(GetParam().size, GetParam().icons)) {
      auto image = UIImage::imageWithContentsOfFile(icon.png);
      if (!image) ADD_FAILURE() << image.error();
      if (image) images.emplace_back(icon.name, image.value());
    }
    return images;
  }
};

const PCFlags kFlagSets[] = {0,
                             PCFlagBrightOnly,
                             PCFlagDarkOnly,
                             PCFlagDistinctOnly,
                             PCFlagOrderByBrightness,
                             PCFlagOrderByDarkness,
                             PCFlagBrightOnly | PCFlagAvoidWhite,
                             PCFlagAvoidBlack,
                             PCFlagBrightOnly | PCFlagDistinctOnly | PCFlagOrderByBrightness,
                             PCFlagDarkOnly | PCFlagOrderByDarkness | PCFlagAvoidBlack,
                             PCFlagDistinctOnly | PCFlagAvoidWhite | PCFlagAvoidBlack,
                             127};
const uint64_t kCounts[] = {0, 1, 2, 3, 5, 8};

void expectSameMaxima(const std::vector<PCLocalMaximum>& fast,
                      const std::vector<PCLocalMaximum>& plain) {
  ASSERT_EQ(fast.size(), plain.size());
  for (size_t i = 0; i < fast.size(); ++i) {
    EXPECT_EQ(fast[i].hitCount, plain[i].hitCount) << "maximum " << i;
    EXPECT_EQ(fast[i].cellIndex, plain[i].cellIndex) << "maximum " << i;
    EXPECT_NEAR(fast[i].red, plain[i].red, 1e-9) << "maximum " << i;
    EXPECT_NEAR(fast[i].green, plain[i].green, 1e-9) << "maximum " << i;
    EXPECT_NEAR(fast[i].blue, plain[i].blue, 1e-9) << "maximum " << i;
    EXPECT_NEAR(fast[i].brightness, plain[i].brightness, 1e-9) << "maximum " << i;
  }
}

void expectSameColors(const std::vector<Ref<UIColor>>& fast,
                      const std::vector<Ref<UIColor>>& plain) {
  std::vector<RGBA> expected;
  for (const auto& color : plain)
    expected.push_back(rgbaOf(color));
  expectComponents(fast, expected);
}

TEST_P(PaletteCubeRealIconTest, MatchesTheStraightforwardVersion) {
  PCPaletteCube cube;  // one cube for everything: no pass may see an earlier one's counts
  auto avoid = UIColor::colorWithRed(0.9, 0.3, 0.1, 1);
  for (const auto& [name, image] : images()) {
    palette_cube_reference::PaletteCube plain;
    for (PCFlags flags : {PCFlags{0}, PCFlagBrightOnly, PCFlagDarkOnly}) {
      SCOPED_TRACE(name + ", histogram with flags " + std::to_string(flags));
      cube.findLocalMaximaInImage(image.get(), flags);
      plain.findLocalMaximaInImage(image.get(), flags);
      for (size_t i = 0; i < 27000; ++i) {
        const PCCubeCell &fast = cube.cell(i), &slow = plain.cell(i);
        ASSERT_TRUE(fast.hitCount == slow.hitCount && fast.redAcc == slow.redAcc &&
                    fast.greenAcc == slow.greenAcc && fast.blueAcc == slow.blueAcc)
            << "cell " << i;
      }
    }
    for (PCFlags flags : kFlagSets) {
      SCOPED_TRACE(name + ", flags " + std::to_string(flags));
      auto fast = cube.extractAndFilterMaximaFromImage(image.get(), flags);
      auto slow = plain.extractAndFilterMaximaFromImage(image.get(), flags);
      expectSameMaxima(fast, slow);
      for (uint64_t count : kCounts) {
        SCOPED_TRACE("count " + std::to_string(count));
        expectSameMaxima(cube.performAdaptiveDistinctFilteringForMaxima(fast, count),
                         plain.performAdaptiveDistinctFilteringForMaxima(slow, count));
      }
    }
    SCOPED_TRACE(name + ", entry points");
    expectSameColors(cube.extractColorsFromImage(image.get(), 33, uint64_t{1}),
                     plain.extractColorsFromImage(image.get(), 33, uint64_t{1}));
    expectSameColors(cube.extractColorsFromImage(image.get(), 12, avoid.get()),
                     plain.extractColorsFromImage(image.get(), 12, avoid.get()));
    expectSameColors(cube.extractBrightColorsFromImage(image.get(), avoid.get(), 4),
                     plain.extractBrightColorsFromImage(image.get(), avoid.get(), 4));
    expectSameColors(cube.extractDarkColorsFromImage(image.get(), nullptr, 3),
                     plain.extractDarkColorsFromImage(image.get(), nullptr, 3));
  }
}

TEST_P(PaletteCubeRealIconTest, ColoursAreOpaqueInRangeAndWithinTheirLimits) {
  PCPaletteCube cube;
  const RGBA white{1, 1, 1, 1}, black{0, 0, 0, 1};
  for (const auto& [name, image] : images()) {
    uint32_t pixelCount = uint32_t(image->bitmap().width() * image->bitmap().height());
    for (PCFlags flags : kFlagSets) {
      SCOPED_TRACE(name + ", flags " + std::to_string(flags));
      auto maxima = cube.findLocalMaximaInImage(image.get(), flags).value();
      uint64_t total = 0;
      for (size_t i = 0; i < maxima.size(); ++i) {
        EXPECT_EQ(cube.cell(maxima[i].cellIndex).hitCount, maxima[i].hitCount);
        if (i > 0) {
          EXPECT_LE(maxima[i].hitCount, maxima[i - 1].hitCount);
        }
        total += maxima[i].hitCount;
      }
      EXPECT_LE(total, pixelCount);
      uint64_t counted = 0;
      for (size_t i = 0; i < 27000; ++i)
        counted += cube.cell(i).hitCount;
      if ((flags & (PCFlagBrightOnly | PCFlagDarkOnly)) == 0) {
        EXPECT_EQ(counted, pixelCount) << "every pixel lands in a cell";
      }

      auto filtered = cube.extractAndFilterMaximaFromImage(image.get(), flags);
      auto all = cube.colorsFromMaxima(filtered);
      for (size_t i = 0; i < all.size(); ++i) {
        RGBA color = rgbaOf(all[i]);
        for (double component : {color.red, color.green, color.blue}) {
          EXPECT_GE(component, 0);
          EXPECT_LE(component, 1);
        }
        EXPECT_EQ(color.alpha, 1);
        if (flags & PCFlagAvoidWhite) {
          EXPECT_GE(distance(color, white), 0.5);
        }
        if (flags & PCFlagAvoidBlack) {
          EXPECT_GE(distance(color, black), 0.5);
        }
        for (size_t j = 0; j < i && (flags & PCFlagDistinctOnly); ++j) {
          EXPECT_GE(distance(color, rgbaOf(all[j])), 0.2);
        }
        if (i > 0 && (flags & PCFlagOrderByBrightness)) {
          EXPECT_LE(filtered[i].brightness, filtered[i - 1].brightness);
        }
      }
      for (uint64_t count : kCounts) {
        auto some = cube.performAdaptiveDistinctFilteringForMaxima(filtered, count);
        EXPECT_EQ(some.size(), std::min<uint64_t>(count, all.size()));
        EXPECT_TRUE(some.empty() || some[0].cellIndex == filtered[0].cellIndex)
            << "the first maximum always stays";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, PaletteCubeRealIconTest,
                         testing::Values(IconSizes{60, 64}, IconSizes{180, 32}, IconSizes{1024, 3}),
                         [](const testing::TestParamInfo<IconSizes>& paramInfo) {
                           return "Icons" + std::to_string(paramInfo.param.size) + "px";
                         });

}  // namespace
