#include <gtest/gtest.h>

#include "platform/foundation/ns_string.h"
#include "platform/uikit/private_classes.h"
#include "platform/uikit/rendering/view_renderer.h"
#include "platform/uikit/ui_text_view.h"
#include "platform/uikit/ui_visual_effect_view.h"

namespace {

const uint8_t* at(const Bitmap& bitmap, int x, int y) {
  return bitmap.pixel(x, y);
}

Ref<UIView> makeView(CGRect frame, Ref<UIColor> color = nullptr) {
  auto view = objc::make<UIView>();
  view->setFrame(frame);
  view->setBackgroundColor(std::move(color));
  return view;
}

// A black left half and a white right half, 40 × 20 points, with a backdrop over all of it.
struct Scene {
  Ref<UIView> root = makeView(CGRectMake(0, 0, 40, 20), UIColor::blackColor());
  Ref<VisualEffectBackdropView> backdrop;

  explicit Scene(long renderMode) {
    static const bool defined = [] {
      definePrivateUIKitClasses([](std::string_view) { return true; });
      return true;
    }();
    EXPECT_TRUE(defined);
    root->addSubview(makeView(CGRectMake(20, 0, 20, 20), UIColor::whiteColor()));
    backdrop = objc::make<VisualEffectBackdropView>();
    backdrop->setFrame(root->bounds());
    backdrop->setRenderMode(renderMode);
    root->addSubview(backdrop);
  }
};

int luma(const uint8_t* pixel) {
  return (pixel[0] + pixel[1] + pixel[2]) / 3;
}

}  // namespace

TEST(BackdropRenderingTest, ClearGlassBlursWhatIsBehindUnderItsColour) {
  Scene glass(1);
  Bitmap blurred = renderView(glass.root.get(), 1);
  EXPECT_LT(luma(at(blurred, 1, 10)), 20) << "far from the edge it stays dark";
  EXPECT_GT(luma(at(blurred, 38, 10)), 235);
  EXPECT_NEAR(luma(at(blurred, 20, 10)), 128, 30) << "the edge is blurred";

  glass.backdrop->setBackgroundColor(UIColor::colorWithRed(1, 0, 0, 0.5));
  Bitmap tinted = renderView(glass.root.get(), 1);
  const uint8_t* dark = at(tinted, 1, 10);
  // The colour tints the glass rather than covering it: red at 0.5 × 0.35 over black.
  EXPECT_NEAR(dark[0], 45, 10);
  EXPECT_LT(dark[1], 20);
  EXPECT_EQ(dark[3], 255);
}

TEST(BackdropRenderingTest, TheMaterialLightensInLightStyleAndDarkensInDark) {
  Scene light(0);
  light.backdrop->setOverrideUserInterfaceStyle(UIUserInterfaceStyleLight);
  EXPECT_GT(luma(at(renderView(light.root.get(), 2), 2, 20)), 100) << "black turns pale";
  Scene dark(0);
  dark.backdrop->setOverrideUserInterfaceStyle(UIUserInterfaceStyleDark);
  EXPECT_LT(luma(at(renderView(dark.root.get(), 2), 77, 20)), 128) << "white turns dim";
}

TEST(BackdropRenderingTest, SeesThroughAPartlyTransparentParent) {
  Scene glass(1);
  auto parent = makeView(glass.root->bounds());
  parent->setAlpha(0.99);
  parent->addSubview(glass.backdrop);
  glass.root->addSubview(parent);
  Bitmap bitmap = renderView(glass.root.get(), 1);
  EXPECT_GT(luma(at(bitmap, 38, 10)), 230) << "the white behind the group is what blurs";
}

TEST(TextCanvasRenderingTest, TheMultiplyColourTintsTheText) {
  auto textView = objc::make<UITextView>();
  textView->setFrame(CGRectMake(0, 0, 60, 40));
  textView->setText(NSString::from("Mm Mm"));
  TextCanvasView* canvas = textView->canvas();
  canvas->setFrame(textView->bounds());
  canvas->setTextColor(UIColor::whiteColor());
  canvas->layer()->setContentsMultiplyColor(Color::rgb(0, 1, 0));
  Bitmap bitmap = renderView(textView.get(), 2);
  int inked = 0, topInk = bitmap.height();
  for (int y = 0; y < bitmap.height(); ++y) {
    for (int x = 0; x < bitmap.width(); ++x) {
      const uint8_t* pixel = at(bitmap, x, y);
      EXPECT_EQ(pixel[0], 0);
      EXPECT_EQ(pixel[2], 0);
      if (pixel[3] > 0) ++inked, topInk = std::min(topInk, y);
    }
  }
  EXPECT_GT(inked, 50);
  EXPECT_LT(topInk, 20) << "a canvas draws from the top";
}
