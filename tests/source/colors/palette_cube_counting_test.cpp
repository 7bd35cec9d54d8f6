// How the palette cube counts an image's pixels into its cells.
#include <gtest/gtest.h>

#include <array>
#include <utility>
#include <vector>

#include "palette_cube_samples.h"
#include "palette_expectations.h"
#include "source/colors/palette_cube.h"

namespace {

TEST(PaletteCubeNeighbourhoodTest, ListsOffsetsRedSlowestEachRunningZeroPlusMinus) {
  const int steps[3] = {0, 1, -1};
  for (int row = 0; row < 27; ++row) {
    EXPECT_EQ(neighbourIndices[row][0], steps[row / 9]) << "row " << row;
    EXPECT_EQ(neighbourIndices[row][1], steps[row / 3 % 3]) << "row " << row;
    EXPECT_EQ(neighbourIndices[row][2], steps[row % 3]) << "row " << row;
  }
  EXPECT_EQ(neighbourIndices[2][2], -1);
  EXPECT_EQ(neighbourIndices[18][0], -1);
}

TEST(PaletteCubeCountingTest, CountsAFlatImageIntoOneCellWithItsMean) {
  PCPaletteCube cube;
  auto maxima = maximaOf(cube, strip({{opaque(200, 100, 50), 12}}).get(), 0);
  ASSERT_EQ(maxima.size(), 1u);
  EXPECT_EQ(maxima[0].hitCount, 12u);
  EXPECT_EQ(maxima[0].cellIndex, cellIndex(22, 11, 5));
  EXPECT_NEAR(maxima[0].red, 200 / 255.0, 1e-15);
  EXPECT_NEAR(maxima[0].green, 100 / 255.0, 1e-15);
  EXPECT_NEAR(maxima[0].blue, 50 / 255.0, 1e-15);
  EXPECT_EQ(maxima[0].brightness, maxima[0].red);
  const PCCubeCell& cell = cube.cell(cellIndex(22, 11, 5));
  EXPECT_EQ(cell.hitCount, 12u);
  EXPECT_NEAR(cell.redAcc, 12 * 200 / 255.0, 1e-12);
  EXPECT_NEAR(cell.blueAcc, 12 * 50 / 255.0, 1e-12);
}

TEST(PaletteCubeCountingTest, MeanIsTheAverageOfTheCellsPixels) {
  PCPaletteCube cube;
  auto maxima = maximaOf(cube, strip({{opaque(200, 0, 0), 1}, {opaque(202, 0, 0), 1}}).get(), 0);
  ASSERT_EQ(maxima.size(), 1u);
  EXPECT_EQ(maxima[0].hitCount, 2u);
  EXPECT_NEAR(maxima[0].red, 201 / 255.0, 1e-15);
}

TEST(PaletteCubeCountingTest, OnlyAFullChannelReachesTheTopBin) {
  PCPaletteCube cube;
  auto maxima = maximaOf(cube, strip({{opaque(255, 254, 0), 1}}).get(), 0);
  ASSERT_EQ(maxima.size(), 1u);
  EXPECT_EQ(maxima[0].cellIndex, cellIndex(29, 28, 0));
}

TEST(PaletteCubeCountingTest, CountsPremultipliedBytesWhateverTheAlpha) {
  PCPaletteCube cube;
  auto maxima = maximaOf(cube, strip({{{100, 50, 0, 128}, 3}, {{0, 0, 0, 0}, 1}}).get(), 0);
  ASSERT_EQ(maxima.size(), 2u);
  EXPECT_EQ(maxima[0].cellIndex, cellIndex(11, 5, 0));
  EXPECT_NEAR(maxima[0].red, 100 / 255.0, 1e-15);
  EXPECT_EQ(maxima[1].cellIndex, 0u) << "a transparent pixel counts as black";
}

TEST(PaletteCubeCountingTest, TransparentImageIsBlackUnlessBrightOnly) {
  PCPaletteCube cube;
  auto image = strip({{{0, 0, 0, 0}, 16}});
  auto colors = cube.extractColorsFromImage(image.get(), 0);
  ASSERT_EQ(colors.size(), 1u);
  EXPECT_EQ(rgbaOf(colors[0]), (RGBA{0, 0, 0, 1}));
  EXPECT_TRUE(cube.extractColorsFromImage(image.get(), PCFlagBrightOnly).empty());
}

TEST(PaletteCubeCountingTest, BrightOnlyCountsAChannelOfSixTenths) {
  PCPaletteCube cube;
  for (int channel = 0; channel < 3; ++channel) {
    Pixel bright = opaque(0, 0, 0), almost = opaque(152, 152, 152);
    bright[channel] = 153;  // 153 / 255 is 0.6
    EXPECT_EQ(maximaOf(cube, strip({{bright, 1}}).get(), PCFlagBrightOnly).size(), 1u)
        << "channel " << channel;
    EXPECT_TRUE(maximaOf(cube, strip({{almost, 1}}).get(), PCFlagBrightOnly).empty());
  }
}

TEST(PaletteCubeCountingTest, DarkOnlySkipsAChannelOfFourTenths) {
  PCPaletteCube cube;
  EXPECT_EQ(maximaOf(cube, strip({{opaque(101, 101, 101), 1}}).get(), PCFlagDarkOnly).size(), 1u);
  for (int channel = 0; channel < 3; ++channel) {
    Pixel edge = opaque(0, 0, 0);
    edge[channel] = 102;  // 102 / 255 is 0.4
    EXPECT_TRUE(maximaOf(cube, strip({{edge, 1}}).get(), PCFlagDarkOnly).empty())
        << "channel " << channel;
  }
}

TEST(PaletteCubeCountingTest, BrightOnlyOverridesDarkOnly) {
  PCPaletteCube cube;
  auto image = strip({{opaque(200, 0, 0), 1}, {opaque(10, 10, 10), 3}});
  auto maxima = maximaOf(cube, image.get(), PCFlagBrightOnly | PCFlagDarkOnly);
  ASSERT_EQ(maxima.size(), 1u);
  EXPECT_NEAR(maxima[0].red, 200 / 255.0, 1e-15);
}

TEST(PaletteCubeCountingTest, ReusedCubeCountsOnlyTheLatestImage) {
  PCPaletteCube reused, fresh;
  auto first = strip({{opaque(10, 200, 30), 5}, {opaque(250, 250, 250), 2}});
  auto second = strip({{opaque(90, 20, 160), 4}, {opaque(10, 200, 30), 1}});
  maximaOf(reused, first.get(), 0);
  auto again = maximaOf(reused, second.get(), 0);
  auto expected = maximaOf(fresh, second.get(), 0);
  EXPECT_EQ(cellsOf(again), cellsOf(expected));
  ASSERT_EQ(again.size(), 2u);
  EXPECT_EQ(again[1].hitCount, 1u) << "the first image's pixels are gone";
  EXPECT_EQ(reused.cell(cellIndex(28, 28, 28)).hitCount, 0u);
}

TEST(PaletteCubeCountingTest, ANewOrClearedCubeHasOnlyEmptyCells) {
  auto expectEmpty = [](const PCPaletteCube& cube) {
    for (size_t i = 0; i < 27000; ++i) {
      const PCCubeCell& cell = cube.cell(i);
      ASSERT_TRUE(cell.hitCount == 0 && cell.redAcc == 0 && cell.greenAcc == 0 && cell.blueAcc == 0)
          << "cell " << i;
    }
  };
  PCPaletteCube cube;
  expectEmpty(cube);
  maximaOf(cube, strip({{opaque(10, 200, 30), 5}, {opaque(255, 0, 0), 2}, {{0, 0, 0, 0}, 1}}).get(),
           0);
  ASSERT_EQ(cube.cell(cellIndex(29, 0, 0)).hitCount, 2u);
  cube.clearCells();
  expectEmpty(cube);
}

TEST(PaletteCubePixelSourceTest, DrawsAtPixelSizeNotPointSize) {
  PCPaletteCube cube;
  std::vector<uint8_t> bytes(4 * 6 * 3);
  for (size_t i = 0; i < bytes.size(); ++i)
    bytes[i] = static_cast<uint8_t>(i * 7 % 256);
  for (size_t i = 3; i < bytes.size(); i += 4)
    bytes[i] = 255;
  auto image = UIImage::imageWithBitmap(Bitmap::fromPremultiplied(6, 3, bytes), 3);
  uint32_t count = 0;
  auto pixels = cube.rawPixelDataFromImage(image.get(), &count);
  ASSERT_TRUE(pixels);
  EXPECT_EQ(count, 18u);
  EXPECT_EQ(*pixels, bytes);
  maximaOf(cube, image.get(), 0);
  uint32_t counted = 0;
  for (size_t i = 0; i < 27000; ++i)
    counted += cube.cell(i).hitCount;
  EXPECT_EQ(counted, 18u) << "the histogram counts pixels, not points";
}

TEST(PaletteCubePixelSourceTest, NoImageGivesNoPixelsAndEmptyLists) {
  PCPaletteCube cube;
  auto white = UIColor::whiteColor();
  auto bitmapless = UIImage::imageWithBitmap(Bitmap());
  for (const UIImage* image : std::vector<const UIImage*>{nullptr, bitmapless.get()}) {
    uint32_t count = 99;
    auto pixels = cube.rawPixelDataFromImage(image, &count);
    ASSERT_TRUE(pixels);
    EXPECT_TRUE(pixels->empty());
    EXPECT_EQ(count, 0u);
    ASSERT_TRUE(cube.findLocalMaximaInImage(image, 0));
    EXPECT_TRUE(cube.findLocalMaximaInImage(image, 0)->empty());
    EXPECT_TRUE(cube.extractColorsFromImage(image, 0).empty());
    EXPECT_TRUE(cube.extractColorsFromImage(image, 0, white.get()).empty());
    EXPECT_TRUE(cube.extractColorsFromImage(image, 33, uint64_t{1}).empty());
    EXPECT_TRUE(cube.extractBrightColorsFromImage(image, nullptr, 3).empty());
    EXPECT_TRUE(cube.extractDarkColorsFromImage(image, white.get(), 3).empty());
  }
}

}  // namespace
