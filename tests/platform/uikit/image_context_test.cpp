#include "platform/uikit/rendering/image_context.h"

#include <gtest/gtest.h>

#include <cmath>

#include "platform/uikit/ui_screen.h"
#include "platform/uikit/ui_view.h"

namespace {

bool drawHierarchy(UIView* view, CGRect rect) {
  return objc::msgSend<bool>(view, objc::sel("drawViewHierarchyInRect:afterScreenUpdates:"), rect,
                             true);
}

Ref<UIView> redSquare(double side) {
  auto view = objc::make<UIView>();
  view->setFrame(CGRectMake(5, 5, side, side));
  view->setBackgroundColor(UIColor::systemRedColor());
  return view;
}

}  // namespace

TEST(ImageContextTest, ContextsNestAndYieldImagesOfTheirSizeAndScale) {
  UIGraphicsBeginImageContextWithOptions({10, 5}, false, 2);
  UIGraphicsBeginImageContextWithOptions({3, 3}, false, 1);
  Ref<UIImage> inner = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  Ref<UIImage> outer = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  ASSERT_TRUE(inner && outer);
  EXPECT_EQ(inner->bitmap().width(), 3);
  EXPECT_EQ(outer->bitmap().width(), 20);
  EXPECT_EQ(outer->bitmap().height(), 10);
  EXPECT_EQ(outer->scale(), 2);
  EXPECT_EQ(outer->size(), (CGSize{10, 5}));
  EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext()) << "every context popped";
}

TEST(ImageContextTest, ScaleZeroIsTheMainScreensScale) {
  UIGraphicsBeginImageContextWithOptions({4, 4}, false, 0);
  Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  ASSERT_TRUE(image);
  EXPECT_EQ(image->scale(), UIScreen::mainScreen()->scale());
  EXPECT_EQ(image->bitmap().width(), std::lround(4 * UIScreen::mainScreen()->scale()));
}

TEST(ImageContextTest, NoContextGivesNoImageAndEndingDoesNothing) {
  EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
  UIGraphicsEndImageContext();
  EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext());
}

TEST(ImageContextTest, AbsurdSizesGiveNoImageYetStillPairWithTheirEnd) {
  const CGSize sizes[] = {{0, 10}, {10, -1}, {NAN, 10}, {20000, 1}, {1e300, 1e300}};
  UIGraphicsBeginImageContextWithOptions({2, 2}, false, 1);
  for (CGSize size : sizes) {
    UIGraphicsBeginImageContextWithOptions(size, false, 1);
    EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext()) << size.width << "×" << size.height;
    EXPECT_FALSE(drawHierarchy(redSquare(2).get(), CGRectMake(0, 0, 2, 2)));
    UIGraphicsEndImageContext();
  }
  UIGraphicsBeginImageContextWithOptions({2, 2}, false, -1);
  EXPECT_FALSE(UIGraphicsGetImageFromCurrentImageContext()) << "a negative scale";
  UIGraphicsEndImageContext();
  Ref<UIImage> outer = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  ASSERT_TRUE(outer) << "the outer context is current again";
  EXPECT_EQ(outer->bitmap().width(), 2);
}

TEST(ImageContextTest, AnOpaqueContextStartsBlack) {
  UIGraphicsBeginImageContextWithOptions({1, 1}, true, 1);
  Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  const uint8_t* pixel = image->bitmap().pixel(0, 0);
  EXPECT_EQ(pixel[3], 255);
  EXPECT_EQ(pixel[0], 0);
}

TEST(DrawViewHierarchyTest, WithoutAContextDrawsNothingAndAnswersNo) {
  EXPECT_FALSE(drawHierarchy(redSquare(10).get(), CGRectMake(0, 0, 10, 10)));
}

TEST(DrawViewHierarchyTest, MapsTheViewsBoundsOntoTheRect) {
  auto view = redSquare(10);  // its frame's origin plays no part
  UIGraphicsBeginImageContextWithOptions({20, 10}, false, 2);
  EXPECT_TRUE(drawHierarchy(view.get(), CGRectMake(10, 0, 5, 5)));
  Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  const Bitmap& bitmap = image->bitmap();
  EXPECT_EQ(bitmap.pixel(19, 0)[3], 0) << "left of the rect";
  EXPECT_EQ(bitmap.pixel(20, 0)[0], 255) << "the rect's first pixel";
  EXPECT_EQ(bitmap.pixel(29, 9)[0], 255) << "its last";
  EXPECT_EQ(bitmap.pixel(30, 9)[3], 0) << "right of it";
  EXPECT_EQ(bitmap.pixel(25, 10)[3], 0) << "below it";
}

TEST(DrawViewHierarchyTest, AnEmptyOrNonFiniteRectDrawsNothing) {
  UIGraphicsBeginImageContextWithOptions({4, 4}, false, 1);
  EXPECT_FALSE(drawHierarchy(redSquare(4).get(), CGRectMake(0, 0, 0, 4)));
  EXPECT_FALSE(drawHierarchy(redSquare(4).get(), CGRectMake(NAN, 0, 4, 4)));
  EXPECT_FALSE(drawHierarchy(redSquare(0).get(), CGRectMake(0, 0, 4, 4)));
  EXPECT_FALSE(drawHierarchy(redSquare(1e-300).get(), CGRectMake(0, 0, 4, 4)));
  EXPECT_TRUE(drawHierarchy(redSquare(4).get(), CGRectMake(0, 0, 4, 4)))
      << "the context still draws afterwards";
  Ref<UIImage> image = UIGraphicsGetImageFromCurrentImageContext();
  UIGraphicsEndImageContext();
  EXPECT_EQ(image->bitmap().pixel(3, 3)[0], 255);
}
