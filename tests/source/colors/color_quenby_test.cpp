#include "source/colors/color_quenby.h"

#include <gtest/gtest.h>

namespace {

RGBA parsed(const char* text) {
  return *mirraRGBAColorFromHexString(NSString::from(text).get())->color().rgba();
}

std::string hexOf(double r, double g, double b) {
  return mirraHexStringFromColor(UIColor::colorWithRed(r, g, b, 1).get())->string();
}

}  // namespace

TEST(HexColorTest, ParsesTheFormsThePlatformAccepts) {
  EXPECT_EQ(parsed(""), (RGBA{0, 0, 0, 1}));
  EXPECT_EQ(*mirraRGBAColorFromHexString(nullptr)->color().rgba(), (RGBA{0, 0, 0, 1}));
  EXPECT_EQ(parsed("FF0000"), (RGBA{1, 0, 0, 1}));
  EXPECT_EQ(parsed("#00FF00:0.25"), (RGBA{0, 1, 0, 0.25}));
  EXPECT_EQ(parsed("#0000FF:abc"), (RGBA{0, 0, 1, 0})) << "no number after the colon reads 0";
  EXPECT_EQ(parsed("#0x102030"), (RGBA{16 / 255.0, 32 / 255.0, 48 / 255.0, 1}));
  EXPECT_EQ(parsed("# ff8000"), (RGBA{1, 128 / 255.0, 0, 1})) << "white space and lower case";
}

TEST(HexColorTest, OnlyTheLowTwentyFourBitsCount) {
  EXPECT_EQ(parsed("#FFFFFF80"), (RGBA{1, 1, 128 / 255.0, 1}));
  EXPECT_EQ(parsed("#F00"), (RGBA{0, 15 / 255.0, 0, 1}));
  EXPECT_EQ(parsed("#123456789"), (RGBA{1, 1, 1, 1})) << "too large for 32 bits: all bits set";
  EXPECT_EQ(parsed("#zz"), (RGBA{0, 0, 0, 1}));
}

TEST(HexColorTest, FormatsTruncatedUpperCaseComponents) {
  EXPECT_EQ(hexOf(1, 0.5, 0), "#FF7F00");
  EXPECT_EQ(hexOf(0.999, 0, 1), "#FE00FF");
  EXPECT_EQ(hexOf(256 / 255.0, 0, 0), "#1000000") << "a component above 1 shows as it is";
  EXPECT_EQ(mirraHexStringFromColor(nullptr), nullptr);
  auto gradient = UIColor::colorWithColor(Color::gradient({}));
  EXPECT_EQ(mirraHexStringFromColor(gradient.get()), nullptr);
  EXPECT_EQ(hexOf(1e300, 0, 0).substr(0, 3), "#7F") << "pinned, never overflowing";
}

TEST(HexColorTest, DarknessIsLuminanceBelowOneHalf) {
  EXPECT_FALSE(mirraIsDarkColor(UIColor::colorWithRed(0.5, 0.5, 0.5, 1).get()));
  EXPECT_TRUE(mirraIsDarkColor(UIColor::colorWithRed(0.4, 0.4, 0.4, 1).get()));
  EXPECT_TRUE(mirraIsDarkColor(UIColor::colorWithRed(0, 0, 1, 1).get())) << "blue weighs little";
  EXPECT_FALSE(mirraIsDarkColor(UIColor::colorWithRed(0, 1, 0, 1).get()));
  EXPECT_FALSE(mirraIsDarkColor(nullptr));
}
