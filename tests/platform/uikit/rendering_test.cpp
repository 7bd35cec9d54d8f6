#include <gtest/gtest.h>

#include <cmath>

#include "platform/foundation/ns_string.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_image_view.h"
#include "platform/uikit/ui_label.h"

namespace {

struct Pixel {
  int red, green, blue, alpha;  // premultiplied
};

Pixel at(const Bitmap& bitmap, int x, int y) {
  const uint8_t* p = bitmap.pixel(x, y);
  return {p[0], p[1], p[2], p[3]};
}

template <class T = UIView>
Ref<T> makeView(CGRect frame, Ref<UIColor> color = nullptr) {
  auto view = objc::make<T>();
  view->setFrame(frame);
  view->setBackgroundColor(std::move(color));
  return view;
}

Ref<UIColor> rgb(double red, double green, double blue, double alpha = 1) {
  return UIColor::colorWithRed(red, green, blue, alpha);
}

// The mean column of the pixels text painted (alpha above half), or -1 if none.
double inkCentreX(const Bitmap& bitmap) {
  double sum = 0, count = 0;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (at(bitmap, x, y).alpha > 128) sum += x, ++count;
    }
  }
  return count > 0 ? sum / count : -1;
}

Ref<UILabel> makeLabel(const char* text, NSTextAlignment alignment) {
  auto label = makeView<UILabel>(CGRectMake(0, 0, 120, 30));
  label->setText(NSString::from(text));
  label->setTextColor(rgb(1, 0, 0));
  label->setTextAlignment(alignment);
  return label;
}

}  // namespace

TEST(ViewRendererTest, AViewFillsItsBoundsAtTheScale) {
  Bitmap bitmap = renderView(makeView(CGRectMake(7, 9, 10, 10), rgb(1, 0, 0)).get(), 3);
  ASSERT_EQ(bitmap.width(), 30);
  ASSERT_EQ(bitmap.height(), 30);
  for (auto [x, y] : {std::pair{0, 0}, {29, 29}, {15, 3}}) {
    Pixel pixel = at(bitmap, x, y);
    EXPECT_EQ(pixel.red, 255);
    EXPECT_EQ(pixel.green, 0);
    EXPECT_EQ(pixel.alpha, 255);
  }
}

TEST(ViewRendererTest, DynamicBackgroundsShowInTheStyleOfTheirView) {
  auto root = makeView(CGRectMake(0, 0, 20, 10));
  auto dynamic = UIColor::dynamicColor(Color::rgb(1, 0, 0), Color::rgb(0, 0, 1));
  auto plain = makeView(CGRectMake(0, 0, 10, 10), dynamic);
  auto layerSet = makeView(CGRectMake(10, 0, 10, 10), dynamic);
  root->addSubview(plain);
  root->addSubview(layerSet);
  // A colour set on the layer shows as set, whatever the view's colour would resolve to.
  layerSet->layer()->setBackgroundColor(Color::rgb(0, 1, 0));
  Pixel light = at(renderView(root.get(), 1), 5, 5);
  EXPECT_EQ(light.red, 255);
  root->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  Bitmap dark = renderView(root.get(), 1);
  EXPECT_EQ(at(dark, 5, 5).blue, 255);
  EXPECT_EQ(at(dark, 5, 5).red, 0);
  EXPECT_EQ(at(dark, 15, 5).green, 255);
}

TEST(ViewRendererTest, SubviewsSitAtTheirFramesInOrder) {
  auto root = makeView(CGRectMake(0, 0, 20, 10), rgb(0, 0, 1));
  root->addSubview(makeView(CGRectMake(10, 0, 10, 10), rgb(1, 0, 0)));
  root->addSubview(makeView(CGRectMake(15, 0, 5, 5), rgb(0, 1, 0)));
  Bitmap bitmap = renderView(root.get(), 1);
  EXPECT_EQ(at(bitmap, 5, 5).blue, 255);
  EXPECT_EQ(at(bitmap, 12, 5).red, 255);
  EXPECT_EQ(at(bitmap, 17, 2).green, 255) << "the later subview on top";
  EXPECT_EQ(at(bitmap, 17, 7).red, 255);
}

TEST(ViewRendererTest, PlainSublayersAreDrawnToo) {
  auto root = makeView(CGRectMake(0, 0, 10, 10));
  auto line = objc::make<CALayer>();
  line->setFrame(CGRectMake(0, 9, 10, 1));
  line->setBackgroundColor(Color::rgb(0, 1, 0));
  root->layer()->addSublayer(line);
  Bitmap bitmap = renderView(root.get(), 1);
  EXPECT_EQ(at(bitmap, 4, 9).green, 255);
  EXPECT_EQ(at(bitmap, 4, 8).alpha, 0);
}

TEST(ViewRendererTest, MaskingToRoundedBoundsLeavesTheCornersClear) {
  auto root = makeView(CGRectMake(0, 0, 20, 20));
  root->layer()->setCornerRadius(10);
  root->addSubview(makeView(CGRectMake(0, 0, 20, 20), rgb(1, 0, 0)));
  EXPECT_EQ(at(renderView(root.get(), 2), 0, 0).alpha, 255) << "sublayers unclipped";
  root->setClipsToBounds(true);
  Bitmap bitmap = renderView(root.get(), 2);
  EXPECT_EQ(at(bitmap, 0, 0).alpha, 0);
  EXPECT_EQ(at(bitmap, 39, 39).alpha, 0);
  EXPECT_EQ(at(bitmap, 20, 20).alpha, 255);
  EXPECT_EQ(at(bitmap, 20, 2).alpha, 255) << "the middle of an edge is inside";
}

TEST(ViewRendererTest, CornerRadiusRoundsTheBackgroundWithoutMasking) {
  auto view = makeView(CGRectMake(0, 0, 20, 20), rgb(1, 0, 0));
  view->layer()->setCornerRadius(8);
  Bitmap bitmap = renderView(view.get(), 1);
  EXPECT_EQ(at(bitmap, 0, 0).alpha, 0);
  EXPECT_EQ(at(bitmap, 10, 10).alpha, 255);
}

TEST(ViewRendererTest, BordersLieInsideTheBoundsOverTheSubviews) {
  auto root = makeView(CGRectMake(0, 0, 10, 10), rgb(1, 1, 1));
  root->addSubview(makeView(CGRectMake(0, 0, 10, 10), rgb(0, 1, 0)));
  root->layer()->setBorderWidth(2);
  root->layer()->setBorderColor(Color::rgb(0, 0, 1));
  Bitmap bitmap = renderView(root.get(), 1);
  for (auto [x, y] : {std::pair{0, 0}, {1, 1}, {9, 5}, {8, 8}}) {
    EXPECT_EQ(at(bitmap, x, y).blue, 255) << x << "," << y;
  }
  EXPECT_EQ(at(bitmap, 2, 2).green, 255);
  EXPECT_EQ(at(bitmap, 7, 7).green, 255);
}

TEST(ViewRendererTest, HiddenViewsAreSkippedWithTheirSubviews) {
  auto root = makeView(CGRectMake(0, 0, 10, 10));
  auto hidden = makeView(CGRectMake(0, 0, 10, 10), rgb(1, 0, 0));
  hidden->addSubview(makeView(CGRectMake(0, 0, 5, 5), rgb(0, 1, 0)));
  hidden->setHidden(true);
  root->addSubview(hidden);
  Bitmap bitmap = renderView(root.get(), 1);
  EXPECT_EQ(at(bitmap, 2, 2).alpha, 0);
  EXPECT_EQ(at(bitmap, 7, 7).alpha, 0);
}

TEST(ViewRendererTest, AlphaHalvesAndAppliesToTheGroupAsAWhole) {
  auto root = makeView(CGRectMake(0, 0, 10, 10));
  auto half = makeView(CGRectMake(0, 0, 10, 10), rgb(1, 0, 0));
  half->addSubview(makeView(CGRectMake(0, 0, 5, 5), rgb(0, 1, 0)));
  half->setAlpha(0.5);
  root->addSubview(half);
  Bitmap bitmap = renderView(root.get(), 1);
  Pixel red = at(bitmap, 7, 7), green = at(bitmap, 2, 2);
  EXPECT_NEAR(red.alpha, 128, 1);
  EXPECT_NEAR(red.red, 128, 1);
  EXPECT_NEAR(green.alpha, 128, 1);
  EXPECT_EQ(green.red, 0) << "the red under the green does not show through";
}

TEST(ViewRendererTest, LabelTextPaintsInItsColourWhereItsAlignmentPutsIt) {
  Bitmap left = renderView(makeLabel("Share", NSTextAlignmentLeft).get(), 2);
  Bitmap right = renderView(makeLabel("Share", NSTextAlignmentRight).get(), 2);
  Bitmap centre = renderView(makeLabel("Share", NSTextAlignmentCenter).get(), 2);
  int inked = 0;
  for (int y = 0; y < left.height(); ++y) {
    for (int x = 0; x < left.width(); ++x) {
      Pixel pixel = at(left, x, y);
      EXPECT_EQ(pixel.green, 0);
      EXPECT_EQ(pixel.red, pixel.alpha);
      inked += pixel.alpha > 0;
    }
  }
  EXPECT_GT(inked, 100);
  double leftX = inkCentreX(left), centreX = inkCentreX(centre), rightX = inkCentreX(right);
  EXPECT_LT(leftX, 60);
  EXPECT_NEAR(centreX, 120, 4);
  EXPECT_GT(rightX, 180);
}

TEST(ViewRendererTest, LabelTextIsCentredVertically) {
  Bitmap bitmap = renderView(makeLabel("Hx", NSTextAlignmentLeft).get(), 2);
  int top = bitmap.height(), bottom = 0;
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      if (at(bitmap, x, y).alpha > 0) top = std::min(top, y), bottom = std::max(bottom, y);
    }
  }
  EXPECT_GT(top, 10);
  EXPECT_LT(bottom, 50);
}

TEST(ViewRendererTest, ImagesAreScaledToFillTheirView) {
  // Red, green / blue, white, straight from a 2 × 2 image.
  std::vector<uint8_t> pixels{255, 0, 0, 255, 0, 255, 0, 255, 0, 0, 255, 255, 255, 255, 255, 255};
  auto imageView = makeView<UIImageView>(CGRectMake(0, 0, 20, 10));
  imageView->setImage(UIImage::imageWithBitmap(Bitmap::fromPremultiplied(2, 2, pixels)));
  Bitmap bitmap = renderView(imageView.get(), 2);
  EXPECT_EQ(at(bitmap, 2, 2).red, 255);
  EXPECT_EQ(at(bitmap, 37, 2).green, 255);
  EXPECT_EQ(at(bitmap, 2, 17).blue, 255);
  EXPECT_EQ(at(bitmap, 37, 17).green, 255);
  EXPECT_EQ(at(bitmap, 39, 19).alpha, 255) << "edges filled to the border";
}

TEST(ViewRendererTest, GradientColoursRunAcrossTheirFrame) {
  auto view = makeView(CGRectMake(0, 0, 40, 10));
  view->setBackgroundColor(UIColor::colorFromGradient(
      {Color::rgb(1, 0, 0), Color::rgb(0, 0, 1)}, NSString::from("right").get(), view->frame()));
  Bitmap bitmap = renderView(view.get(), 1);
  EXPECT_GT(at(bitmap, 1, 5).red, 240);
  EXPECT_GT(at(bitmap, 38, 5).blue, 240);
  EXPECT_NEAR(at(bitmap, 20, 5).red, 128, 10);
}

TEST(ViewRendererTest, ShadowsFallWhereTheirOffsetPutsThem) {
  auto root = makeView(CGRectMake(0, 0, 30, 30));
  auto card = makeView(CGRectMake(5, 5, 10, 10), rgb(1, 1, 1));
  card->layer()->setShadowColor(Color::rgb(0, 0, 0));
  card->layer()->setShadowOpacity(1);
  card->layer()->setShadowRadius(0);
  card->layer()->setShadowOffset({0, 6});
  root->addSubview(card);
  Bitmap bitmap = renderView(root.get(), 1);
  Pixel shadow = at(bitmap, 10, 18), beside = at(bitmap, 20, 18), card_ = at(bitmap, 10, 10);
  EXPECT_EQ(shadow.alpha, 255);
  EXPECT_EQ(shadow.red, 0);
  EXPECT_EQ(beside.alpha, 0);
  EXPECT_EQ(card_.red, 255) << "the view over its shadow";
}

TEST(ViewRendererTest, AbsurdSizesAndScalesRenderNothing) {
  EXPECT_TRUE(renderView(makeView(CGRectMake(0, 0, 20000, 1)).get(), 1).empty());
  EXPECT_TRUE(renderView(makeView(CGRectMake(0, 0, NAN, 10)).get(), 1).empty());
  EXPECT_TRUE(renderView(makeView(CGRectMake(0, 0, 10, 10)).get(), 0).empty());
  EXPECT_TRUE(renderView(nullptr, 1).empty());
}

TEST(ViewRendererTest, NonFiniteSubviewsAreSkippedAndTheRestIsDrawn) {
  auto root = makeView(CGRectMake(0, 0, 10, 10));
  root->addSubview(makeView(CGRectMake(NAN, 0, 5, 5), rgb(0, 1, 0)));
  root->addSubview(makeView(CGRectMake(0, 0, INFINITY, 5), rgb(0, 1, 0)));
  root->addSubview(makeView(CGRectMake(0, 0, 10, 10), rgb(1, 0, 0)));
  EXPECT_EQ(at(renderView(root.get(), 1), 5, 5).red, 255);
}
