#include "source/colors/tessel.h"

#include <gtest/gtest.h>

#include "classifier_references.h"

using test_images::flat;
using test_images::image;
using test_images::Pixel;
using test_images::rgb;
using test_images::sameColour;

namespace {

// Pixels of the given colours, each repeated as often as asked, in one row.
Ref<UIImage> row(const std::vector<std::pair<Pixel, int>>& runs) {
  std::vector<Pixel> pixels;
  for (const auto& [pixel, times] : runs)
    pixels.insert(pixels.end(), size_t(times), pixel);
  return image(int(pixels.size()), 1, pixels);
}

}  // namespace

TEST(TesselWhiteTest, AbsentImageGivesWhite) {
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(nullptr), UIColor::whiteColor()));
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(nullptr), UIColor::whiteColor()));
}

TEST(TesselWhiteTest, ImagesWithoutACountedPixelGiveWhite) {
  for (const Ref<UIImage>& picture :
       {flat(8, 8, {0, 0, 0, 0}), flat(8, 8, {3, 3, 3}), test_images::withoutBitmap()}) {
    EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(picture.get()), UIColor::whiteColor()));
    EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(picture.get()), UIColor::whiteColor()));
  }
}

TEST(TesselWhiteTest, GreyImageCannotBeDrawnInItsOwnModelAndGivesWhite) {
  auto grey = image(2, 1, {{200, 200, 200}, {90, 90, 90}}, ColorModel::gray);
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(grey.get()), UIColor::whiteColor()));
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(grey.get()), UIColor::whiteColor()));
}

TEST(TesselCountingTest, PixelsCountFromAChannelSumOfEleven) {
  // Were (3, 3, 3) counted it would be the rarest; were (4, 4, 4) left out, red would be.
  auto greys = row({{{3, 3, 3}, 1}, {{4, 4, 4}, 2}, {{200, 0, 0}, 5}});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(greys.get()), rgb(4, 4, 4)));
  auto sums = row({{{4, 3, 3}, 1}, {{4, 4, 3}, 2}, {{200, 0, 0}, 5}});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(sums.get()), rgb(4, 4, 3)));
}

TEST(TesselCountingTest, TransparentPixelsDoNotCountWhateverTheirChannels) {
  auto picture = row({{{50, 50, 50, 0}, 1}, {{100, 0, 0}, 2}});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(picture.get()), rgb(100, 0, 0)));
}

TEST(TesselCountingTest, TranslucentPixelsCountByTheirPremultipliedBytesAndComeOutOpaque) {
  auto picture = row({{{100, 0, 0, 128}, 1}, {{0, 0, 200}, 2}});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(picture.get()), rgb(100, 0, 0)));
}

TEST(TesselOrderTest, PrimaryIsTheRarestColour) {
  auto picture = row({{{0, 0, 200}, 3}, {{0, 200, 0}, 1}, {{200, 0, 0}, 2}});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(picture.get()), rgb(0, 200, 0)));
  // The rarest is taken even when a more frequent colour lies within 10 of it.
  auto near = row({{{100, 100, 100}, 5}, {{105, 100, 100}, 1}});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(near.get()), rgb(105, 100, 100)));
}

TEST(TesselOrderTest, EqualCountsGoByTheFirstPixelRowByRow) {
  // Row by row: C, A, B, C. Column by column it would be C, B, A, C.
  Pixel a{200, 0, 0}, b{0, 200, 0}, c{0, 0, 200};
  auto picture = image(2, 2, {c, a, b, c});
  EXPECT_TRUE(sameColour(Tessel::getPrimaryColor(picture.get()), rgb(200, 0, 0)));
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(picture.get()), rgb(0, 0, 200)));
}

TEST(TesselDistinctTest, ColoursWithinTenInEveryChannelAreDropped) {
  // (110, 90, 105) differs from (100, 100, 100) by 10, 10 and 5: dropped, so the third
  // distinct colour is the yellow. Were it kept, the third would be the blue.
  auto within =
      row({{{100, 100, 100}, 1}, {{110, 90, 105}, 2}, {{50, 50, 200}, 3}, {{200, 200, 0}, 4}});
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(within.get()), rgb(200, 200, 0)));
  // (111, 100, 100) differs by 11 in red: kept.
  auto beyond =
      row({{{100, 100, 100}, 1}, {{111, 100, 100}, 2}, {{50, 50, 200}, 3}, {{200, 200, 0}, 4}});
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(beyond.get()), rgb(50, 50, 200)));
}

TEST(TesselDistinctTest, SecondaryFallsBackToTheLastDistinctColour) {
  auto one = row({{{100, 100, 100}, 1}, {{105, 95, 100}, 2}});
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(one.get()), rgb(100, 100, 100)));
  auto two = row({{{100, 100, 100}, 1}, {{0, 0, 200}, 2}, {{0, 5, 200}, 3}});
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(two.get()), rgb(0, 0, 200)));
}

TEST(TesselDistinctTest, SecondarySearchesPastManyNearColours) {
  // Twenty rare near-greys before two far colours: the third distinct colour lies beyond
  // the first few in order.
  std::vector<std::pair<Pixel, int>> runs;
  for (uint8_t shade = 100; shade < 120; ++shade)
    runs.push_back({{shade, 100, 100}, 1});
  runs.push_back({{0, 200, 0}, 2});
  runs.push_back({{0, 0, 200}, 3});
  runs.push_back({{200, 0, 200}, 4});
  auto picture = row(runs);
  // Kept: (100, 100, 100), (111, 100, 100), then green.
  EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(picture.get()), rgb(0, 200, 0)));
}

TEST(TesselReferenceTest, MatchesTheStraightforwardVersionOnRealIcons) {
  for (int size : {60, 180}) {
    for (const Ref<UIImage>& icon : test_images::realIcons(size)) {
      EXPECT_TRUE(
          sameColour(Tessel::getPrimaryColor(icon.get()), reference::tesselColour(icon.get(), 0)));
      EXPECT_TRUE(sameColour(Tessel::getSecondaryColor(icon.get()),
                             reference::tesselColour(icon.get(), 2)));
    }
  }
}
