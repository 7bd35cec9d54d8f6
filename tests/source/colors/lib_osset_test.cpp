#include "source/colors/lib_osset.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "classifier_references.h"

using test_images::flat;
using test_images::image;
using test_images::Pixel;
using test_images::rgb;
using test_images::sameColour;

namespace {

// Results agree when they list the same colours in the same order with the same shares.
testing::AssertionResult sameShares(const std::vector<libOsset::ColourShare>& actual,
                                    const std::vector<libOsset::ColourShare>& expected) {
  if (actual.size() != expected.size()) {
    return testing::AssertionFailure() << actual.size() << " colours, expected " << expected.size();
  }
  for (size_t i = 0; i < actual.size(); ++i) {
    testing::AssertionResult colour = sameColour(actual[i].colour, expected[i].colour);
    if (!colour) return colour << " at " << i;
    if (std::abs(actual[i].share - expected[i].share) > 1e-6) {
      return testing::AssertionFailure()
             << "share " << actual[i].share << ", expected " << expected[i].share << " at " << i;
    }
  }
  return testing::AssertionSuccess();
}

// The same procedure at the parameters a detail level stands for.
std::vector<libOsset::ColourShare> sharesAt(const UIImage* image, int dimension, int flexibility,
                                            int range) {
  std::vector<libMerrow::Key> keys =
      libMerrow::frequentDistinctKeys(image, dimension, flexibility, range);
  double total = 0;
  for (const libMerrow::Key& key : keys)
    total += key.count;
  std::vector<libOsset::ColourShare> shares;
  for (const libMerrow::Key& key : keys) {
    shares.push_back({rgb(key.red, key.green, key.blue), float(key.count / total)});
  }
  return shares;
}

// A picture with several well-separated colours in unequal areas.
Ref<UIImage> patchwork() {
  std::vector<Pixel> pixels;
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 20; ++x) {
      pixels.push_back(x < 12   ? Pixel{230, 40, 40}
                       : y < 8  ? Pixel{40, 40, 230}
                       : y < 15 ? Pixel{40, 200, 60}
                                : Pixel{250, 250, 250});
    }
  }
  return image(20, 20, pixels);
}

}  // namespace

TEST(LibOssetDetailTest, DetailLevelsChooseTheirParameters) {
  auto picture = patchwork();
  const libOsset osset;
  // The three parameter sets tell this picture apart.
  EXPECT_FALSE(sameShares(sharesAt(picture.get(), 4, 1, 100), sharesAt(picture.get(), 10, 2, 60)));
  EXPECT_FALSE(
      sameShares(sharesAt(picture.get(), 100, 10, 20), sharesAt(picture.get(), 10, 2, 60)));
  EXPECT_FALSE(
      sameShares(sharesAt(picture.get(), 4, 1, 100), sharesAt(picture.get(), 100, 10, 20)));
  EXPECT_TRUE(
      sameShares(osset.mainColoursInImage(picture.get(), 0), sharesAt(picture.get(), 4, 1, 100)));
  EXPECT_TRUE(
      sameShares(osset.mainColoursInImage(picture.get(), 2), sharesAt(picture.get(), 100, 10, 20)));
  for (int detail : {1, 3, -1, 1000}) {
    EXPECT_TRUE(sameShares(osset.mainColoursInImage(picture.get(), detail),
                           sharesAt(picture.get(), 10, 2, 60)))
        << "detail " << detail;
  }
}

TEST(LibOssetDetailTest, FineDetailTellsColoursApartBeyondTwenty) {
  // Unclamped, every key of a colour counts alike, so each colour's first key, channels - 10,
  // comes first. B's first key lies 21 above A's in red: picked at range 20 (at 21 it would
  // be skipped, and the next, 22 above, picked).
  std::vector<Pixel> pixels(100, Pixel{100, 100, 100});
  std::fill(pixels.begin() + 70, pixels.end(), Pixel{121, 100, 100});
  auto picture = image(10, 10, pixels);
  std::vector<libOsset::ColourShare> shares = libOsset().mainColoursInImage(picture.get(), 2);
  ASSERT_EQ(shares.size(), 2u);
  EXPECT_TRUE(sameColour(shares[0].colour, rgb(90, 90, 90)));
  EXPECT_TRUE(sameColour(shares[1].colour, rgb(111, 90, 90)));
  EXPECT_FLOAT_EQ(shares[0].share, 0.7f);
  EXPECT_FLOAT_EQ(shares[1].share, 0.3f);
}

TEST(LibOssetShareTest, OneColourImageHasOneColourWithTheWholeShare) {
  auto red = flat(10, 10, {255, 0, 0});
  for (int detail : {0, 1, 2}) {
    std::vector<libOsset::ColourShare> shares = libOsset().mainColoursInImage(red.get(), detail);
    ASSERT_EQ(shares.size(), 1u) << "detail " << detail;
    EXPECT_EQ(shares[0].share, 1.0f);
  }
  // At detail 1 red widens to 253, 254 and 255, each equally often; 253 arises first.
  EXPECT_TRUE(sameColour(libOsset().mainColoursInImage(red.get(), 1)[0].colour, rgb(253, 0, 0)));
}

TEST(LibOssetShareTest, SharesAreCountsOverThePickedTotal) {
  // 60 red and 40 blue pixels: their top keys count 60 × 9 and 40 × 9 at detail 1 (green and
  // blue, or red and green, pile three candidates onto 0), and every other key lies within
  // 60 of one of them.
  std::vector<Pixel> pixels(100, Pixel{0, 0, 255});
  std::fill(pixels.begin(), pixels.begin() + 60, Pixel{255, 0, 0});
  auto picture = image(10, 10, pixels);
  std::vector<libOsset::ColourShare> shares = libOsset().mainColoursInImage(picture.get(), 1);
  ASSERT_EQ(shares.size(), 2u);
  EXPECT_TRUE(sameColour(shares[0].colour, rgb(253, 0, 0)));
  EXPECT_FLOAT_EQ(shares[0].share, 0.6f);
  EXPECT_TRUE(sameColour(shares[1].colour, rgb(0, 0, 253)));
  EXPECT_FLOAT_EQ(shares[1].share, 0.4f);
}

TEST(LibOssetShareTest, NothingDrawnGivesOpaqueBlackWithTheWholeShare) {
  auto withoutBitmap = test_images::withoutBitmap();
  for (const UIImage* nothing :
       std::initializer_list<const UIImage*>{nullptr, withoutBitmap.get()}) {
    std::vector<libOsset::ColourShare> shares = libOsset().mainColoursInImage(nothing, 1);
    ASSERT_EQ(shares.size(), 1u);
    EXPECT_TRUE(sameColour(shares[0].colour, rgb(0, 0, 0)));
    EXPECT_EQ(shares[0].share, 1.0f);
  }
}

TEST(LibOssetShareTest, SharesAddUpToOneOnRealIcons) {
  for (const Ref<UIImage>& icon : test_images::realIcons(60, 16)) {
    for (int detail : {0, 1}) {
      double sum = 0;
      for (const auto& entry : libOsset().mainColoursInImage(icon.get(), detail)) {
        EXPECT_GT(entry.share, 0);
        sum += entry.share;
      }
      EXPECT_NEAR(sum, 1, 1e-6);
    }
  }
}

TEST(LibOssetFineDetailTest, PickedColoursDifferByMoreThanTwentyInSomeChannel) {
  for (const Ref<UIImage>& icon : test_images::realIcons(180, 2)) {
    std::vector<libOsset::ColourShare> shares = libOsset().mainColoursInImage(icon.get(), 2);
    EXPECT_GT(shares.size(), 1u);
    double sum = 0;
    for (size_t i = 0; i < shares.size(); ++i) {
      sum += shares[i].share;
      const RGBA a = *shares[i].colour->color().rgba();
      for (size_t j = 0; j < i; ++j) {
        const RGBA b = *shares[j].colour->color().rgba();
        const double apart = std::max(
            {std::abs(a.red - b.red), std::abs(a.green - b.green), std::abs(a.blue - b.blue)});
        EXPECT_GT(apart * 255, 20.5) << i << " and " << j;
      }
    }
    EXPECT_NEAR(sum, 1, 1e-5);
  }
}

TEST(LibOssetReferenceTest, MatchesTheStraightforwardVersionOnRealIcons) {
  for (int size : {60, 180}) {
    for (const Ref<UIImage>& icon : test_images::realIcons(size)) {
      for (int detail : {0, 1}) {
        EXPECT_TRUE(sameShares(libOsset().mainColoursInImage(icon.get(), detail),
                               reference::mainColours(icon.get(), detail)))
            << "detail " << detail;
      }
    }
  }
}

TEST(LibOssetReferenceTest, MatchesTheStraightforwardVersionAtFineDetailOnAFewIcons) {
  for (const Ref<UIImage>& icon : test_images::realIcons(60, 2)) {
    EXPECT_TRUE(sameShares(libOsset().mainColoursInImage(icon.get(), 2),
                           reference::mainColours(icon.get(), 2)));
  }
}
