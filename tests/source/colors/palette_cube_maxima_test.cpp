// The palette cube's local maxima, how they are filtered, and the colours it gives from them.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "palette_cube_samples.h"
#include "palette_expectations.h"
#include "source/colors/palette_cube.h"

namespace {

TEST(PaletteCubeMaximaTest, NeighboursWithEqualCountsAreBothMaxima) {
  PCPaletteCube cube;
  auto maxima = maximaOf(cube, strip({{inCell(4, 7, 9), 2}, {inCell(5, 8, 9), 2}}).get(), 0);
  EXPECT_EQ(cellsOf(maxima), (std::vector{cellIndex(4, 7, 9), cellIndex(5, 8, 9)}));
}

TEST(PaletteCubeMaximaTest, AnyStrictlyFullerNeighbourSuppressesACell) {
  PCPaletteCube cube;
  for (int row = 1; row < 27; ++row) {
    const int32_t* offset = neighbourIndices[row];
    auto image = strip(
        {{inCell(10, 10, 10), 2}, {inCell(10 + offset[0], 10 + offset[1], 10 + offset[2]), 3}});
    auto maxima = maximaOf(cube, image.get(), 0);
    ASSERT_EQ(maxima.size(), 1u) << "offset row " << row;
    EXPECT_EQ(maxima[0].hitCount, 3u);
  }
}

TEST(PaletteCubeMaximaTest, CellsTwoBinsApartAreSeparateMaxima) {
  PCPaletteCube cube;
  auto maxima = maximaOf(cube, strip({{inCell(10, 3, 3), 1}, {inCell(12, 3, 3), 5}}).get(), 0);
  EXPECT_EQ(cellsOf(maxima), (std::vector{cellIndex(12, 3, 3), cellIndex(10, 3, 3)}));
}

TEST(PaletteCubeMaximaTest, NeighbourhoodStopsAtTheCubesFaces) {
  PCPaletteCube cube;
  // Each pair lies next to each other in cell index order, but not in the cube.
  auto image = strip({{inCell(29, 0, 0), 1}, {inCell(0, 1, 0), 2}});
  EXPECT_EQ(maximaOf(cube, image.get(), 0).size(), 2u);
  image = strip({{inCell(0, 29, 0), 1}, {inCell(0, 0, 1), 2}});
  EXPECT_EQ(maximaOf(cube, image.get(), 0).size(), 2u);
  image = strip({{inCell(29, 29, 3), 1}, {inCell(0, 0, 4), 2}});
  EXPECT_EQ(maximaOf(cube, image.get(), 0).size(), 2u);
}

TEST(PaletteCubeMaximaTest, OrdersByCountThenByRedGreenBlueVisit) {
  PCPaletteCube cube;
  auto image = strip({{inCell(5, 0, 0), 2},
                      {inCell(0, 5, 0), 2},
                      {inCell(20, 20, 20), 3},
                      {inCell(0, 0, 5), 2},
                      {inCell(5, 0, 10), 2}});
  EXPECT_EQ(cellsOf(maximaOf(cube, image.get(), 0)),
            (std::vector{cellIndex(20, 20, 20), cellIndex(0, 0, 5), cellIndex(0, 5, 0),
                         cellIndex(5, 0, 0), cellIndex(5, 0, 10)}));
}

TEST(PaletteCubeFilterTest, AvoidingAColourKeepsAMaximumExactlyHalfAway) {
  PCPaletteCube cube;
  auto white = UIColor::whiteColor(), black = UIColor::blackColor();
  std::vector<PCLocalMaximum> maxima = {maximumOf(0.5, 1, 1), maximumOf(0.5000001, 1, 1),
                                        maximumOf(0.5, 0, 0), maximumOf(0.4999999, 0, 0)};
  EXPECT_EQ(reds(cube.filterMaxima(maxima, white.get())), (std::vector{0.5, 0.5, 0.4999999}));
  EXPECT_EQ(reds(cube.filterMaxima(maxima, black.get())), (std::vector{0.5, 0.5000001, 0.5}));
}

TEST(PaletteCubeFilterTest, NoColourOrAPatternAvoidsNothing) {
  PCPaletteCube cube;
  std::vector<PCLocalMaximum> maxima = {maximumOf(1, 1, 1), maximumOf(0, 0, 0)};
  EXPECT_EQ(cube.filterMaxima(maxima, nullptr).size(), 2u);
  auto gradient = UIColor::colorWithColor(
      Color::gradient({{1, 1, 1, 1}, {0, 0, 0, 1}, GradientDirection::down, {}, false}));
  EXPECT_EQ(cube.filterMaxima(maxima, gradient.get()).size(), 2u);
}

TEST(PaletteCubeFilterTest, AvoidFlagsDropColoursNearWhiteOrBlack) {
  PCPaletteCube cube;
  // 127/255 is just over 0.5 from 1; 128/255 just under. Likewise from 0 the other way.
  auto count = [&](Pixel pixel, PCFlags flags) {
    return cube.extractColorsFromImage(strip({{pixel, 3}}).get(), flags).size();
  };
  EXPECT_EQ(count(opaque(127, 255, 255), PCFlagAvoidWhite), 1u);
  EXPECT_EQ(count(opaque(128, 255, 255), PCFlagAvoidWhite), 0u);
  EXPECT_EQ(count(opaque(128, 255, 255), PCFlagAvoidBlack), 1u);
  EXPECT_EQ(count(opaque(128, 0, 0), PCFlagAvoidBlack), 1u);
  EXPECT_EQ(count(opaque(127, 0, 0), PCFlagAvoidBlack), 0u);
  EXPECT_EQ(count(opaque(127, 0, 0), PCFlagAvoidWhite), 1u);
}

TEST(PaletteCubeFilterTest, DistinctFilterDropsAMaximumCloseOnlyToADroppedOne) {
  PCPaletteCube cube;
  std::vector<PCLocalMaximum> maxima = {maximumOf(0, 0, 0), maximumOf(0.15, 0, 0),
                                        maximumOf(0.3, 0, 0), maximumOf(0.6, 0, 0)};
  EXPECT_EQ(reds(cube.filterDistinctMaxima(maxima, 0.2)), (std::vector{0.0, 0.6}));
}

TEST(PaletteCubeFilterTest, DistinctFilterKeepsAMaximumExactlyAtTheThreshold) {
  PCPaletteCube cube;
  std::vector<PCLocalMaximum> maxima = {maximumOf(0, 0, 0), maximumOf(0.25, 0, 0)};
  EXPECT_EQ(cube.filterDistinctMaxima(maxima, 0.25).size(), 2u);
  EXPECT_EQ(cube.filterDistinctMaxima(maxima, 0.2500001).size(), 1u);
}

TEST(PaletteCubeFilterTest, OrdersByBrightnessOrDarknessKeepingTies) {
  PCPaletteCube cube;
  std::vector<PCLocalMaximum> maxima = {maximumOf(0.2, 0, 0), maximumOf(0, 0.8, 0),
                                        maximumOf(0.5, 0, 0), maximumOf(0.8, 0, 0)};
  auto brightest = cube.orderByBrightness(maxima);
  EXPECT_EQ(reds(brightest), (std::vector{0.0, 0.8, 0.5, 0.2}));
  auto darkest = cube.orderByDarkness(maxima);
  EXPECT_EQ(reds(darkest), (std::vector{0.2, 0.5, 0.0, 0.8}));
}

TEST(PaletteCubeFilterTest, FlagsChooseDistinctnessAndOrder) {
  PCPaletteCube cube;
  // Three maxima: a frequent mid red, a close darker red (0.07 away), a rare bright blue.
  auto image = strip({{inCell(12, 0, 0), 5}, {inCell(10, 0, 0), 3}, {opaque(0, 0, 250), 1}});
  auto blues = [&](PCFlags flags) {
    std::vector<double> values;
    for (const auto& color : cube.extractColorsFromImage(image.get(), flags)) {
      values.push_back(rgbaOf(color).blue);
    }
    return values;
  };
  EXPECT_EQ(blues(0).size(), 3u);
  EXPECT_EQ(blues(PCFlagDistinctOnly).size(), 2u);
  EXPECT_EQ(blues(PCFlagOrderByBrightness)[0], 250 / 255.0);
  EXPECT_EQ(blues(PCFlagOrderByBrightness | PCFlagOrderByDarkness)[0], 250 / 255.0);
  EXPECT_EQ(blues(PCFlagOrderByDarkness)[2], 250 / 255.0);
  auto darkest = cube.extractColorsFromImage(image.get(), PCFlagOrderByDarkness);
  EXPECT_NEAR(rgbaOf(darkest[0]).red, byteInBin(10) / 255.0, 1e-15);
}

TEST(PaletteCubeAdaptiveFilterTest, KeepsAListThatFitsTheCount) {
  PCPaletteCube cube;
  std::vector<PCLocalMaximum> maxima = {maximumOf(0, 0, 0), maximumOf(0.01, 0, 0),
                                        maximumOf(0.02, 0, 0)};
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 3)), reds(maxima));
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 7)), reds(maxima));
}

TEST(PaletteCubeAdaptiveFilterTest, CountZeroGivesNothingAndOneGivesTheFirst) {
  PCPaletteCube cube;
  std::vector<PCLocalMaximum> maxima = {maximumOf(0.3, 0, 0), maximumOf(0.31, 0, 0),
                                        maximumOf(1, 0, 0)};
  EXPECT_TRUE(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 0).empty());
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 1)), (std::vector{0.3}));
}

TEST(PaletteCubeAdaptiveFilterTest, ReturnsTheHeadOfTheLastListLongerThanTheCount) {
  PCPaletteCube cube;
  // At 0.1 all four stay; at 0.15 only 0 and 0.3 would, which fits 2: the rounds stop there.
  std::vector<PCLocalMaximum> maxima = {maximumOf(0, 0, 0), maximumOf(0.12, 0, 0),
                                        maximumOf(0.3, 0, 0), maximumOf(0.42, 0, 0)};
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 2)),
            (std::vector{0.0, 0.12}));
}

TEST(PaletteCubeAdaptiveFilterTest, ShrinksTheListRoundByRound) {
  PCPaletteCube cube;
  // 0.1 drops 0.05; 0.15 drops 0.44; from 0.35 on nothing but 0 would stay.
  std::vector<PCLocalMaximum> maxima = {maximumOf(0, 0, 0), maximumOf(0.05, 0, 0),
                                        maximumOf(0.32, 0, 0), maximumOf(0.44, 0, 0),
                                        maximumOf(0.64, 0, 0)};
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 2)),
            (std::vector{0.0, 0.32}));
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 3)),
            (std::vector{0.0, 0.32, 0.44}));
}

TEST(PaletteCubeAdaptiveFilterTest, GivesUpAfterTenRounds) {
  PCPaletteCube cube;
  // 0.575 apart survives every threshold up to the tenth, 0.55; an eleventh would drop it.
  std::vector<PCLocalMaximum> maxima = {maximumOf(0, 0, 0), maximumOf(0.575, 0, 0),
                                        maximumOf(0, 1, 0), maximumOf(0, 0, 1)};
  EXPECT_EQ(reds(cube.performAdaptiveDistinctFilteringForMaxima(maxima, 2)),
            (std::vector{0.0, 0.575}));
}

TEST(PaletteCubeExtractionTest, Flags33Count1GivesTheMostFrequentBrightColourNotNearWhite) {
  PCPaletteCube cube;
  auto image = strip({{opaque(20, 20, 20), 40},
                      {opaque(255, 255, 255), 30},
                      {opaque(0, 0, 255), 10},
                      {opaque(255, 128, 0), 20}});
  const RGBA orange{1, 128 / 255.0, 0, 1}, blue{0, 0, 1, 1};
  expectComponents(cube.extractColorsFromImage(image.get(), 33, uint64_t{1}), {orange});
  expectComponents(cube.extractColorsFromImage(image.get(), 33, uint64_t{5}), {orange, blue});
  expectComponents(cube.extractColorsFromImage(image.get(), PCFlagBrightOnly, uint64_t{1}),
                   {{1, 1, 1, 1}});
  expectComponents(cube.extractColorsFromImage(image.get(), 0, uint64_t{1}),
                   {{20 / 255.0, 20 / 255.0, 20 / 255.0, 1}});
}

TEST(PaletteCubeExtractionTest, AvoidColourDropsColoursNearIt) {
  PCPaletteCube cube;
  auto image = strip({{opaque(250, 0, 0), 5}, {opaque(0, 0, 250), 3}});
  auto red = UIColor::colorWithRed(1, 0, 0, 1);
  expectComponents(cube.extractColorsFromImage(image.get(), 0, red.get()),
                   {{0, 0, 250 / 255.0, 1}});
  EXPECT_EQ(
      cube.extractColorsFromImage(image.get(), 0, static_cast<const UIColor*>(nullptr)).size(), 2u);
}

TEST(PaletteCubeExtractionTest, BrightAndDarkEntryPointsCountOnlyTheirPixels) {
  PCPaletteCube cube;
  auto image = strip({{opaque(250, 0, 0), 8},
                      {opaque(0, 0, 250), 4},
                      {opaque(60, 0, 0), 6},
                      {opaque(0, 0, 60), 2}});
  auto red = UIColor::colorWithRed(1, 0, 0, 1);
  const RGBA brightRed{250 / 255.0, 0, 0, 1}, brightBlue{0, 0, 250 / 255.0, 1};
  const RGBA darkRed{60 / 255.0, 0, 0, 1}, darkBlue{0, 0, 60 / 255.0, 1};
  expectComponents(cube.extractBrightColorsFromImage(image.get(), nullptr, 5),
                   {brightRed, brightBlue});
  expectComponents(cube.extractBrightColorsFromImage(image.get(), red.get(), 5), {brightBlue});
  expectComponents(cube.extractBrightColorsFromImage(image.get(), nullptr, 1), {brightRed});
  expectComponents(cube.extractDarkColorsFromImage(image.get(), nullptr, 5), {darkRed, darkBlue});
  expectComponents(cube.extractDarkColorsFromImage(image.get(), red.get(), 5), {darkRed, darkBlue});
  EXPECT_TRUE(cube.extractDarkColorsFromImage(image.get(), nullptr, 0).empty());
}

}  // namespace
