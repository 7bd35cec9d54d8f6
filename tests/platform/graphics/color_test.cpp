#include "platform/graphics/color.h"

#include <gtest/gtest.h>

#include "platform/graphics/ui_color.h"

TEST(ColorTest, SplitsIntoTheHsbModel) {
  auto red = Color::rgb(1, 0, 0).hsba();
  ASSERT_TRUE(red);
  EXPECT_EQ(*red, (HSBA{0, 1, 1, 1}));
  auto orange = Color::rgb(1, 0.5, 0, 0.25).hsba();
  EXPECT_NEAR(orange->hue, 30.0 / 360, 1e-12);
  EXPECT_EQ(orange->alpha, 0.25);
  auto grey = Color::rgb(0.4, 0.4, 0.4).hsba();
  EXPECT_EQ(grey->saturation, 0);
  EXPECT_EQ(grey->brightness, 0.4);
  EXPECT_EQ(Color::rgb(0, 0, 0).hsba()->saturation, 0) << "black has no saturation";
  EXPECT_NEAR(Color::rgb(1, 0, 0.5).hsba()->hue, 330.0 / 360, 1e-12) << "wraps below zero";
}

TEST(ColorTest, HsbRoundTripsToRgb) {
  for (RGBA rgba : {RGBA{0.2, 0.6, 0.9, 1}, RGBA{0.9, 0.1, 0.3, 0.5}, RGBA{0.5, 0.5, 0.1, 1},
                    RGBA{0.3, 0.3, 0.3, 1}}) {
    auto hsba = Color(rgba).hsba();
    auto back = Color::hsb(*hsba).rgba();
    EXPECT_NEAR(back->red, rgba.red, 1e-12);
    EXPECT_NEAR(back->green, rgba.green, 1e-12);
    EXPECT_NEAR(back->blue, rgba.blue, 1e-12);
    EXPECT_EQ(back->alpha, rgba.alpha);
  }
}

TEST(ColorTest, PatternsHaveNoSingleValue) {
  Color gradient = Color::gradient(
      {{1, 0, 0, 1}, {0, 0, 1, 1}, GradientDirection::down, CGRectMake(0, 0, 10, 20), false});
  EXPECT_TRUE(gradient.isPattern());
  EXPECT_FALSE(gradient.rgba());
  EXPECT_FALSE(gradient.hsba());
  EXPECT_EQ(gradient.withAlpha(0.5), gradient);
  EXPECT_NE(gradient, Color::rgb(1, 0, 0));
  double hue = -1;
  EXPECT_FALSE(UIColor::colorWithColor(gradient)->getHue(&hue, nullptr, nullptr, nullptr));
  EXPECT_EQ(hue, -1) << "outputs stay untouched on failure";
}

TEST(UIColorTest, DescribesItselfAsThePlatformDoes) {
  EXPECT_EQ(describe(UIColor::colorWithRed(1, 0.5, 0, 1).get()),
            "UIExtendedSRGBColorSpace 1 0.5 0 1");
  EXPECT_EQ(cgColorOf(nullptr), std::nullopt);
  EXPECT_EQ(cgColorOf(UIColor::systemRedColor().get()), Color::rgb(1, 0, 0, 1));
  double alpha = 0;
  EXPECT_TRUE(UIColor::clearColor()->getRed(nullptr, nullptr, nullptr, &alpha));
  EXPECT_EQ(alpha, 0);
}
