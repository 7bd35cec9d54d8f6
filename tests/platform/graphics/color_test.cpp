#include "platform/graphics/color.h"

#include <gtest/gtest.h>

#include "platform/foundation/ns_string.h"
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

TEST(ColorCategoryTest, ReadsDisplayP3ComponentsIntoExtendedSRGB) {
  auto grey =
      UIColor::colorFromP3String(NSString::from("0.500000,0.500000,0.500000,1.000000").get());
  ASSERT_TRUE(grey);
  EXPECT_NEAR(grey->color().rgba()->red, 0.5, 1e-6) << "greys are the same in both spaces";
  EXPECT_NEAR(grey->color().rgba()->blue, 0.5, 1e-6);
  auto red = UIColor::colorFromP3String(NSString::from(" 1, 0 ,0").get());
  ASSERT_TRUE(red);
  RGBA srgb = *red->color().rgba();
  EXPECT_NEAR(srgb.red, 1.0931, 1e-3) << "P3's red lies outside sRGB";
  EXPECT_NEAR(srgb.green, -0.2267, 1e-3);
  EXPECT_NEAR(srgb.blue, -0.1501, 1e-3);
  EXPECT_EQ(srgb.alpha, 1);
  EXPECT_EQ(UIColor::colorFromP3String(NSString::from("0.2,0.4,0.6,0.5").get())->color().alpha(),
            0.5);
}

TEST(ColorCategoryTest, TextThatIsNotAP3ColourGivesNil) {
  for (const char* bad :
       {"", "1,0", "1,0,0,1,0", "red", "1,0,x", "1,,0", "nan,0,0", "1e999,0,0", "#FF0000"}) {
    EXPECT_EQ(UIColor::colorFromP3String(NSString::from(bad).get()), nullptr) << bad;
  }
  EXPECT_EQ(UIColor::colorFromP3String(nullptr), nullptr);
}

TEST(ColorCategoryTest, GradientsCarryTheirStopsDirectionAndFrame) {
  std::vector<Color> stops = {Color::rgb(1, 0, 0), Color::rgb(0, 0, 1, 0.5)};
  CGRect frame = CGRectMake(0, 0, 300, 80);
  auto down = UIColor::colorFromGradient(stops, NSString::from("down").get(), frame);
  ASSERT_TRUE(down);
  const GradientPattern* pattern = down->color().pattern();
  ASSERT_NE(pattern, nullptr);
  EXPECT_EQ(pattern->from, (RGBA{1, 0, 0, 1}));
  EXPECT_EQ(pattern->to, (RGBA{0, 0, 1, 0.5}));
  EXPECT_EQ(pattern->direction, GradientDirection::down);
  EXPECT_EQ(pattern->frame, frame);
  EXPECT_FALSE(pattern->flipY);
  EXPECT_FALSE(down->getHue(nullptr, nullptr, nullptr, nullptr));
  auto flipped = UIColor::colorFromGradient(stops, NSString::from("sideways").get(), frame, true);
  EXPECT_EQ(flipped->color().pattern()->direction, GradientDirection::right);
  EXPECT_TRUE(flipped->color().pattern()->flipY);
  EXPECT_EQ(UIColor::colorFromGradient({Color::rgb(1, 0, 0)}, nullptr, frame), nullptr);
}

TEST(UIColorTest, LabelColourResolvesByStyle) {
  auto label = UIColor::labelColor()->colorWithAlphaComponent(0.9);
  EXPECT_EQ(label->resolvedColor(false), Color::rgb(0, 0, 0, 0.9));
  EXPECT_EQ(label->resolvedColor(true), Color::rgb(1, 1, 1, 0.9));
}
