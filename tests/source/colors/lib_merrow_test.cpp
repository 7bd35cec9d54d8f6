#include "source/colors/lib_merrow.h"

#include <gtest/gtest.h>

#include <climits>
#include <tuple>

#include "classifier_references.h"

using test_images::flat;
using test_images::image;
using test_images::Pixel;
using test_images::rgb;
using test_images::sameColour;
using Key = libMerrow::Key;

namespace {

// Every distinct key with its count, in picking order: a negative range makes no two similar.
std::vector<Key> allKeys(const UIImage* image, int dimension, int flexibility) {
  return libMerrow::frequentDistinctKeys(image, dimension, flexibility, -1);
}

}  // namespace

TEST(LibMerrowWideningTest, ChannelsAtZeroAndFullClampOnlyBelowZero) {
  // Red 0 widens to 0, 0, 1; green 255 to 254, 255, 256; blue 0 to 0, 0, 1.
  auto pixel = flat(1, 1, {0, 255, 0});
  std::vector<Key> expected = {
      {0, 254, 0, 4}, {0, 255, 0, 4}, {0, 256, 0, 4},                  // both clamped
      {0, 254, 1, 2}, {0, 255, 1, 2}, {0, 256, 1, 2}, {1, 254, 0, 2},  // one clamped
      {1, 255, 0, 2}, {1, 256, 0, 2}, {1, 254, 1, 1}, {1, 255, 1, 1},  // none
      {1, 256, 1, 1}};
  EXPECT_EQ(allKeys(pixel.get(), 1, 1), expected);
}

TEST(LibMerrowWideningTest, FlexibilityThreeStepsRedOnlyThroughItsFirstThreeOffsets) {
  // 147 combinations: green and blue run through all seven offsets three times while red
  // takes offsets -3, -2 and -1, in odometer order (blue fastest).
  auto pixel = flat(1, 1, {100, 100, 100});
  std::vector<Key> expected;
  for (int red = 97; red <= 99; ++red) {
    for (int green = 97; green <= 103; ++green) {
      for (int blue = 97; blue <= 103; ++blue)
        expected.push_back({red, green, blue, 1});
    }
  }
  EXPECT_EQ(allKeys(pixel.get(), 1, 3), expected);
}

TEST(LibMerrowWideningTest, EveryPixelMakesTheSameNumberOfKeysClampedOrNot) {
  for (Pixel pixel : {Pixel{0, 0, 0}, Pixel{1, 2, 3}, Pixel{255, 255, 255}, Pixel{9, 200, 0}}) {
    for (int flexibility : {0, 1, 2, 3, 10}) {
      unsigned total = 0;
      for (const Key& key : allKeys(flat(1, 1, pixel).get(), 1, flexibility))
        total += key.count;
      EXPECT_EQ(total, unsigned((2 * flexibility + 1) * (2 * flexibility + 1) * 3))
          << "flexibility " << flexibility;
    }
  }
}

TEST(LibMerrowWideningTest, FlexibilityZeroCountsEachPixelThreeTimes) {
  auto picture = image(2, 2, {{10, 20, 30}, {40, 50, 60}, {10, 20, 30}, {10, 20, 30}});
  std::vector<Key> expected = {{10, 20, 30, 9}, {40, 50, 60, 3}};
  EXPECT_EQ(allKeys(picture.get(), 2, 0), expected);
}

TEST(LibMerrowOrderTest, MoreFrequentKeysComeFirst) {
  auto picture = image(2, 2, {{200, 0, 0}, {0, 0, 200}, {0, 0, 200}, {0, 0, 200}});
  std::vector<Key> expected = {{0, 0, 200, 9}, {200, 0, 0, 3}};
  EXPECT_EQ(allKeys(picture.get(), 2, 0), expected);
}

TEST(LibMerrowOrderTest, EqualCountsKeepTheOrderOfTheirFirstPixelRowByRow) {
  // Row by row the pixels are A, B, C, D; column by column they would be A, C, B, D.
  Pixel a{200, 0, 0}, b{0, 200, 0}, c{0, 0, 200}, d{200, 200, 200};
  auto picture = image(2, 2, {a, b, c, d});
  std::vector<Key> expected = {{200, 0, 0, 3}, {0, 200, 0, 3}, {0, 0, 200, 3}, {200, 200, 200, 3}};
  EXPECT_EQ(allKeys(picture.get(), 2, 0), expected);
}

TEST(LibMerrowOrderTest, TiesGoToTheEarlierPixelBeforeTheSmallerKey) {
  // Drawn into 2 × 2, the pixels are grey, black, grey, black. Grey's 27 keys reach 2 each,
  // and so does black's (1, 1, 1) (once a pixel), which arises later, though it is smaller.
  auto picture = image(2, 1, {{50, 50, 50}, {0, 0, 0}});
  std::vector<Key> keys = allKeys(picture.get(), 2, 1);
  ASSERT_FALSE(keys.empty());
  EXPECT_EQ(keys.front(), (Key{0, 0, 0, 16}));
  std::vector<Key> twos;
  for (const Key& key : keys) {
    if (key.count == 2) twos.push_back(key);
  }
  ASSERT_EQ(twos.size(), 28u);
  EXPECT_EQ(twos.front(), (Key{49, 49, 49, 2}));
  EXPECT_EQ(twos.back(), (Key{1, 1, 1, 2}));
}

TEST(LibMerrowOrderTest, AKeyOfSeveralColoursArisesAtTheFirstPixelOfAny) {
  // Row by row: A, C, C, C, B, B, Z, Z, Z. A and B (one apart in red) share the keys with red
  // 100 and 101: 1 + 2 = 3 each, first at pixel 0. C's and Z's keys also reach 3, but arise
  // at pixels 1 and 6.
  Pixel a{100, 100, 100}, b{101, 100, 100}, c{200, 50, 200}, z{50, 200, 50};
  auto picture = image(3, 3, {a, c, c, c, b, b, z, z, z});
  std::vector<Key> threes;
  for (const Key& key : allKeys(picture.get(), 3, 1)) {
    if (key.count == 3) threes.push_back(key);
  }
  ASSERT_EQ(threes.size(), 18u + 27 + 27);
  EXPECT_EQ(threes[0], (Key{100, 99, 99, 3}));
  EXPECT_EQ(threes[17], (Key{101, 101, 101, 3}));
  EXPECT_EQ(threes[18], (Key{199, 49, 199, 3}));
  EXPECT_EQ(threes[45], (Key{49, 199, 49, 3}));
}

TEST(LibMerrowOrderTest, KeysOfOnePixelTiedInCountArePickedInChannelOrder) {
  // Each colour's 27 keys tie; at range 1 the corners of each 3 × 3 × 3 box are picked, in
  // ascending channel order, the frequent colour's first.
  Pixel frequent{50, 60, 70}, rare{200, 150, 100};
  auto picture = image(2, 2, {frequent, frequent, frequent, rare});
  std::vector<Key> expected;
  for (auto [colour, count] : {std::pair{frequent, 3u}, std::pair{rare, 1u}}) {
    for (int red : {colour.red - 1, colour.red + 1}) {
      for (int green : {colour.green - 1, colour.green + 1}) {
        for (int blue : {colour.blue - 1, colour.blue + 1}) {
          expected.push_back({red, green, blue, count});
        }
      }
    }
  }
  EXPECT_EQ(libMerrow::frequentDistinctKeys(picture.get(), 2, 1, 1), expected);
}

TEST(LibMerrowPrimaryTest, AllRedImagePicksOneKeyTheFirstRedCandidate) {
  for (int size : {4, 180}) {
    auto red = flat(size, size, {255, 0, 0});
    // 254, 255 and 256 all reach 16 × 4 keys; 254 arises first, and everything else lies
    // within 100 of it.
    std::vector<Key> expected = {{254, 0, 0, 64}};
    EXPECT_EQ(libMerrow::frequentDistinctKeys(red.get(), 4, 1, 100), expected);
    EXPECT_TRUE(sameColour(libMerrow::primaryColor(red.get()), rgb(254, 0, 0)));
  }
}

TEST(LibMerrowSimilarityTest, KeysExactlyRangeApartAreSimilar) {
  // A is most frequent. B lies exactly 20 from A in red and 19 in blue: similar, skipped.
  // C lies 21 from A in red: kept, and it is the result. Were B kept instead, C (within 20
  // of B) would be skipped and B would be the result.
  Pixel a{100, 100, 100}, b{120, 100, 119}, c{121, 100, 100};
  auto picture = image(2, 2, {a, a, b, c});
  std::vector<Key> expected = {{100, 100, 100, 6}, {121, 100, 100, 3}};
  EXPECT_EQ(libMerrow::frequentDistinctKeys(picture.get(), 2, 0, 20), expected);
  EXPECT_TRUE(
      sameColour(libMerrow::getColorFromImage(picture.get(), 1, 2, 0, 20), rgb(121, 100, 100)));
  EXPECT_TRUE(
      sameColour(libMerrow::getColorFromImage(picture.get(), 1, 2, 0, 21), rgb(100, 100, 100)));
  // Every channel must be within range: far in green alone is enough to be kept.
  auto greenApart = image(2, 1, {{100, 100, 100}, {100, 121, 100}});
  EXPECT_EQ(libMerrow::frequentDistinctKeys(greenApart.get(), 2, 0, 20).size(), 2u);
}

TEST(LibMerrowSimilarityTest, HugeRangeKeepsOnlyTheMostFrequentKeyWithoutOverflow) {
  auto picture = image(2, 2, {{0, 0, 0}, {255, 255, 255}, {255, 255, 255}, {10, 200, 30}});
  std::vector<Key> expected = {{255, 255, 255, 6}};
  EXPECT_EQ(libMerrow::frequentDistinctKeys(picture.get(), 2, 0, INT_MAX), expected);
  EXPECT_EQ(libMerrow::frequentDistinctKeys(picture.get(), 2, 0, INT_MIN).size(), 3u);
}

TEST(LibMerrowBackgroundTest, HalfTransparentGreyIsWeightedByAlphaTwice) {
  auto grey = flat(3, 3, {64, 64, 64, 128});
  const RGBA colour = *libMerrow::backgroundColor(grey.get())->color().rgba();
  const double channel = 64 * (128 / 255.0) / 255;
  EXPECT_DOUBLE_EQ(colour.red, channel);
  EXPECT_DOUBLE_EQ(colour.green, channel);
  EXPECT_DOUBLE_EQ(colour.blue, channel);
  EXPECT_DOUBLE_EQ(colour.alpha, 128 / 255.0);
}

TEST(LibMerrowBackgroundTest, AveragesTheWholeImageIntoOnePixel) {
  auto halves = image(2, 1, {{200, 0, 0}, {0, 0, 100}});
  EXPECT_TRUE(sameColour(libMerrow::backgroundColor(halves.get()), rgb(100, 0, 50)));
}

TEST(LibMerrowBackgroundTest, NothingDrawnGivesTransparentBlack) {
  const auto clear = UIColor::colorWithRed(0, 0, 0, 0);
  EXPECT_TRUE(sameColour(libMerrow::backgroundColor(nullptr), clear));
  EXPECT_TRUE(sameColour(libMerrow::backgroundColor(test_images::withoutBitmap().get()), clear));
  EXPECT_TRUE(sameColour(libMerrow::backgroundColor(flat(4, 4, {0, 0, 0, 0}).get()), clear));
}

TEST(LibMerrowCalculationTest, OtherCalculationsGiveWhite) {
  auto red = flat(4, 4, {255, 0, 0});
  for (int calculation : {3, -1, 7, INT_MAX}) {
    EXPECT_TRUE(sameColour(libMerrow::getColorFromImage(red.get(), calculation, 4, 1, 100),
                           UIColor::whiteColor()));
    EXPECT_TRUE(sameColour(libMerrow::getColorFromImage(nullptr, calculation, 0, 0, 0),
                           UIColor::whiteColor()));
  }
}

TEST(LibMerrowCalculationTest, CalculationsOneAndTwoAgree) {
  auto picture = image(2, 2, {{10, 20, 30}, {200, 100, 0}, {10, 20, 30}, {0, 90, 255}});
  for (int dimension : {1, 2, 5}) {
    EXPECT_TRUE(sameColour(libMerrow::getColorFromImage(picture.get(), 1, dimension, 2, 40),
                           libMerrow::getColorFromImage(picture.get(), 2, dimension, 2, 40)));
  }
}

TEST(LibMerrowAbsentTest, DimensionZeroOrNegativeGivesNil) {
  auto red = flat(4, 4, {255, 0, 0});
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 0, 1, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 2, -3, 1, 100));
  EXPECT_TRUE(libMerrow::getColorFromImage(red.get(), 1, 1, 1, 100));
}

TEST(LibMerrowAbsentTest, NothingDrawnCountsBlackAndGivesOpaqueBlack) {
  auto withoutBitmap = test_images::withoutBitmap();
  for (const UIImage* nothing :
       std::initializer_list<const UIImage*>{nullptr, withoutBitmap.get()}) {
    EXPECT_TRUE(sameColour(libMerrow::primaryColor(nothing), rgb(0, 0, 0)));
    EXPECT_TRUE(sameColour(libMerrow::secondaryColor(nothing), rgb(0, 0, 0)));
  }
}

TEST(LibMerrowLimitsTest, NegativeFlexibilityHasNoCandidates) {
  auto red = flat(4, 4, {255, 0, 0});
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 4, -1, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 4, INT_MIN, 100));
}

TEST(LibMerrowLimitsTest, RequestsBeyondTheKeyBudgetAreRefusedNotAllocated) {
  auto red = flat(4, 4, {255, 0, 0});
  // Each of these overflows 32 bits somewhere in D², (2F + 1)² or their product.
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, INT_MAX, 1, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 46341, 0, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 4, INT_MAX, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 4, 1 << 30, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 1024, 2, 100));
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, libMerrow::kMaxDimension + 1, 0, 0));
  // A single pixel may widen as far as the budget allows, and no further.
  EXPECT_FALSE(libMerrow::getColorFromImage(red.get(), 1, 1, 1182, 100));
  EXPECT_TRUE(libMerrow::getColorFromImage(red.get(), 1, 1, 300, 2000));
  EXPECT_TRUE(libMerrow::getColorFromImage(red.get(), 1, libMerrow::kMaxDimension, 0, 0));
}

TEST(LibMerrowReferenceTest, MatchesTheStraightforwardVersionOnRealIcons) {
  for (int size : {60, 180}) {
    for (const Ref<UIImage>& icon : test_images::realIcons(size)) {
      const UIImage* picture = icon.get();
      EXPECT_TRUE(sameColour(libMerrow::backgroundColor(picture),
                             reference::merrowColour(picture, 0, 0, 0, 0)));
      EXPECT_TRUE(sameColour(libMerrow::primaryColor(picture),
                             reference::merrowColour(picture, 1, 4, 1, 100)));
      // The whole pick list, where ties and the range test show, and its last colour.
      std::vector<Key> secondary = reference::frequentDistinctKeys(picture, 9, 3, 90);
      EXPECT_EQ(libMerrow::frequentDistinctKeys(picture, 9, 3, 90), secondary);
      EXPECT_TRUE(
          sameColour(libMerrow::secondaryColor(picture),
                     rgb(secondary.back().red, secondary.back().green, secondary.back().blue)));
    }
  }
}

TEST(LibMerrowReferenceTest, MatchesTheStraightforwardVersionAtOtherParameters) {
  for (const Ref<UIImage>& icon : test_images::realIcons(180, 16)) {
    const UIImage* picture = icon.get();
    for (auto [dimension, flexibility, range] :
         {std::tuple{6, 0, 15}, std::tuple{8, 4, 30}, std::tuple{7, 2, 0}, std::tuple{5, 6, 45}}) {
      EXPECT_EQ(libMerrow::frequentDistinctKeys(picture, dimension, flexibility, range),
                reference::frequentDistinctKeys(picture, dimension, flexibility, range))
          << dimension << ", " << flexibility << ", " << range;
    }
  }
}

TEST(LibMerrowReferenceTest, MatchesTheStraightforwardVersionWhereKeysDoNotPackIntoAWord) {
  // 600 × 600 pixels: count, first pixel and channels need more than 64 bits together.
  for (const Ref<UIImage>& icon : test_images::realIcons(180, 2)) {
    EXPECT_EQ(libMerrow::frequentDistinctKeys(icon.get(), 600, 0, 40),
              reference::frequentDistinctKeys(icon.get(), 600, 0, 40));
  }
}
